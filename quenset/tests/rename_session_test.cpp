#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "core/rename_session.h"
#include "support/counting_byte_source.h"
#include "core/undo_journal.h"
#include "core/undo_run.h"
#include "test_pictures.h"

namespace corvelle {
namespace {

using namespace corvelle::testing;
namespace fs = std::filesystem;

// The bytes of every file: a run may change names, never contents or the number of files.
std::multiset<std::vector<uint8_t>> Contents(const fs::path& folder) {
    std::multiset<std::vector<uint8_t>> contents;
    for (const auto& item : fs::directory_iterator(folder))
        if (item.is_regular_file()) contents.insert(ReadFileBytes(item.path()));
    return contents;
}

class RenameSessionTest : public ::testing::Test {
  protected:
    FixedTimeZone zone{"KST-9"};
    TempFolder folder;

    void Picture(const std::string& name, const std::string& original,
                 const std::string& dateTime = "") {
        WriteFileBytes(folder.file(name), JpegWithDates(original, dateTime));
    }
    void ReadOnly(const std::string& name, const std::string& text) {
        WriteFileBytes(folder.file(name), std::vector<uint8_t>(text.begin(), text.end()));
        chmod(folder.file(name).c_str(), 0444);
    }
    RunInputs Inputs(const NameSettings& settings = {}) {
        return RunInputsFromSettings(settings, folder.path());
    }
    std::string FromCreation(const std::string& name, const NameSettings& settings = {}) {
        return ExpandForTime(BuildNameTemplate(settings), CreationTimeOf(folder.file(name)));
    }
    static NameSettings Serial(int digits, const std::string& prefix = "") {
        NameSettings settings;
        settings.nameType = 1;
        settings.serialIndex = digits - 2;
        settings.prefix = prefix;
        return settings;
    }
};

TEST_F(RenameSessionTest, PreviewLinesDatesAndSummary) {
    Picture("b.jpg", "2004:03:15 14:25:30");
    Picture("DSC0001.JPG", "2004:03:15 14:25:31", "2009:09:09 09:09:09");
    Picture("zero.jpg", "0000:00:00 00:00:00");
    Picture("short.jpg", "2004:03:15");
    Picture("only-datetime.jpg", "", "2009:09:09 09:09:09");

    RenameSession session(Inputs());
    ASSERT_TRUE(session.folderOpened());
    const std::vector<std::string> expected = {
        "DSC0001.JPG\t-> 20040315-142531.jpg",
        "b.jpg\t-> 20040315-142530.jpg",
        "only-datetime.jpg\t-> 20090909-090909.jpg",
        "short.jpg\t-> 20040315-000000.jpg",
        // A zero date is no date, even though the file has a creation time.
        "zero.jpg\t-> No Date info",
    };
    EXPECT_EQ(session.lines(), expected);
    EXPECT_EQ(session.entries()[0].dateValue, LocalTime(2004, 3, 15, 14, 25, 31));
    EXPECT_EQ(session.entries()[4].dateValue, 0);
    EXPECT_EQ(session.changeablePositions(), (std::vector<size_t>{0, 1, 2, 3}));
    EXPECT_EQ(session.summaryText(), "전체 5개중 4개 변경 가능/1개 이름 변경불가능");
}

TEST_F(RenameSessionTest, PreviewOpensReadsAndClosesEachPictureOnce) {
    // Camera-sized files: the picture data lie far beyond the head that is read.
    constexpr int kPictures = 12;
    for (int i = 0; i < kPictures; ++i) {
        std::vector<uint8_t> bytes = JpegWithDates("2004:03:15 14:25:" + std::to_string(10 + i),
                                                   "", i % 2 ? kLittle : kBig);
        bytes.resize(bytes.size() + 300000, 0x5A);
        WriteFileBytes(folder.file("p" + std::to_string(i) + ".jpg"), bytes);
    }
    SourceCalls calls;
    RunInputs inputs = Inputs();
    inputs.openFile = [&](int dirFd, const std::string& name) -> std::unique_ptr<ByteSource> {
        std::unique_ptr<ByteSource> file = OpenRegularFileAt(dirFd, name);
        if (!file) return nullptr;
        return std::make_unique<CountingByteSource>(std::move(file), calls);
    };
    const RenameSession session(std::move(inputs));
    ASSERT_EQ(session.changeablePositions().size(), size_t(kPictures));
    // One open (with its fstat), one read and one close a picture: with the listing's stat,
    // five system calls.
    EXPECT_EQ(calls.opens, kPictures);
    EXPECT_EQ(calls.reads, kPictures);
    EXPECT_EQ(calls.closes, kPictures);
}

TEST_F(RenameSessionTest, FilesWithoutExifDateTakeTheirCreationTime) {
    const std::vector<uint8_t> tiff =
        BuildTiff(TiffDirectory().ascii(0x0132, "2001:01:01 00:00:00"), kLittle);
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> files = {
        {"xmp-first.jpg",
         InsertAfterSoi(EncodeTestJpeg(8, 8), {JpegSegment(0xE1, {'x', 0}), ExifSegment(tiff)})},
        {"no-start.jpg", {'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'}},
        {"dated.jpg", JpegWithDates("2004:03:15 14:25:30", "")},
    };
    NameSettings noExif;
    noExif.useExif = false;
    for (const auto& [name, bytes] : files) {
        WriteFileBytes(folder.file(name), bytes);
        SetModifiedTime(folder.file(name), LocalTime(2002, 2, 2, 2, 2, 2));
        for (const NameSettings& settings : {NameSettings(), noExif}) {
            if (name == "dated.jpg" && settings.useExif) continue;
            RenameSession session(Inputs(settings));
            ASSERT_EQ(session.entries().size(), 1u) << name;
            EXPECT_EQ(session.entries()[0].newName, FromCreation(name)) << name;
            EXPECT_EQ(session.entries()[0].dateValue, 0) << name;
        }
        fs::remove(folder.file(name));
    }
}

TEST_F(RenameSessionTest, TiffStructuredFilesOfTheirType) {
    TiffDirectory exif;
    exif.ascii(0x9003, "2006:10:22 15:44:29");
    TiffDirectory ifd0;
    ifd0.ascii(0x0132, "2009:09:09 09:09:09").subDirectory(0x8769, exif);
    WriteFileBytes(folder.file("CRW_0001.TIF"), BuildTiff(ifd0, kBig));
    WriteFileBytes(folder.file("DSC_0002.NEF"), BuildTiff(ifd0, kLittle));
    NameSettings settings;
    settings.extensionIndex = 1;
    EXPECT_EQ(RenameSession(Inputs(settings)).lines(),
              std::vector<std::string>{"CRW_0001.TIF\t-> 20061022-154429.tif"});
    settings.extensionIndex = 2;
    EXPECT_EQ(RenameSession(Inputs(settings)).lines(),
              std::vector<std::string>{"DSC_0002.NEF\t-> 20061022-154429.nef"});
}

TEST_F(RenameSessionTest, ListingAndByteOrder) {
    Picture("abc.jpg", "");
    Picture("DSC0001.JPG", "");
    Picture("Zeta.Jpg", "");
    Picture(".hidden.jpg", "");
    Picture("other.tif", "");
    ReadOnly("read-only.jpg", "x");
    fs::create_symlink("abc.jpg", folder.file("link.jpg"));
    fs::create_directory(folder.file("folder.jpg"));
    mkfifo(folder.file("pipe.jpg").c_str(), 0644);

    RenameSession session(Inputs(Serial(3, "IMG_")));
    EXPECT_EQ(session.lines(),
              (std::vector<std::string>{"DSC0001.JPG\t-> IMG_001.jpg", "Zeta.Jpg\t-> IMG_002.jpg",
                                        "abc.jpg\t-> IMG_003.jpg"}));

    RenameSession missing(RunInputsFromSettings({}, folder.file("no such folder")));
    EXPECT_FALSE(missing.folderOpened());
    EXPECT_TRUE(missing.entries().empty());
    EXPECT_EQ(missing.summaryText(), "");
}

TEST_F(RenameSessionTest, SerialCounterGrowsPastItsDigits) {
    for (int i = 0; i < 100; ++i)
        WriteFileBytes(folder.file("f" + std::to_string(1000 + i) + ".jpg"), {1});
    RenameSession session(Inputs(Serial(2)));
    ASSERT_EQ(session.entries().size(), 100u);
    EXPECT_EQ(session.entries()[0].newName, "01.jpg");
    EXPECT_EQ(session.entries()[98].newName, "99.jpg");
    EXPECT_EQ(session.entries()[99].newName, "100.jpg");
}

TEST_F(RenameSessionTest, DuplicatesAreNumberedPerName) {
    Picture("a1.jpg", "2004:03:15 14:25:30");
    Picture("a2.jpg", "2004:03:15 14:25:30");
    Picture("a3.jpg", "2004:03:15 14:25:30");
    Picture("b.jpg", "2004:03:15 14:25:31");
    // Interleaved: A, B, A, B in list order.
    Picture("c1.jpg", "2005:01:01 00:00:00");
    Picture("c2.jpg", "2006:01:01 00:00:00");
    Picture("c3.jpg", "2005:01:01 00:00:00");
    Picture("c4.jpg", "2006:01:01 00:00:00");

    RenameSession session(Inputs());
    EXPECT_EQ(session.lines(), (std::vector<std::string>{
                                   "a1.jpg\t-> 20040315-142530-001.jpg",
                                   "a2.jpg\t-> 20040315-142530-002.jpg",
                                   "a3.jpg\t-> 20040315-142530-003.jpg",
                                   "b.jpg\t-> 20040315-142531.jpg",
                                   "c1.jpg\t-> 20050101-000000-001.jpg",
                                   "c2.jpg\t-> 20060101-000000-001.jpg",
                                   "c3.jpg\t-> 20050101-000000-002.jpg",
                                   "c4.jpg\t-> 20060101-000000-002.jpg",
                               }));
    const RenameOutcome outcome = session.rename(session.changeablePositions());
    EXPECT_EQ(outcome.renamed, 8);
    EXPECT_FALSE(outcome.failed());
}

TEST_F(RenameSessionTest, RenameSkipsStepsAndSetsOnlyExifTimes) {
    Picture("DSC0001.jpg", "2004:03:15 14:25:30");
    Picture("20040315-142531.JPG", "2004:03:15 14:25:31");  // already so named
    Picture("zero.jpg", "0000:00:00 00:00:00");
    WriteFileBytes(folder.file("plain.jpg"), EncodeTestJpeg(8, 8));
    const std::string plainName = FromCreation("plain.jpg");

    RenameSession session(Inputs());
    // Set after the preview, whose date lookup reads the files and may touch access times.
    const std::time_t oldTime = LocalTime(2010, 5, 5, 5, 5, 5);
    for (const char* name : {"DSC0001.jpg", "plain.jpg"}) {
        const timespec times[2] = {{oldTime - 100, 0}, {oldTime, 0}};
        utimensat(AT_FDCWD, folder.file(name).c_str(), times, 0);
    }
    EXPECT_EQ(session.changeablePositions(), (std::vector<size_t>{1, 2}));
    int steps = 0;
    // Every entry chosen, as a user may: the unchangeable ones are skipped without a step.
    const RenameOutcome outcome = session.rename({0, 1, 2, 3}, [&steps] { ++steps; });
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(outcome.renamed, 2);
    EXPECT_EQ(outcome.timesSet, 1);
    EXPECT_EQ(outcome.message, "2개의 이름을 성공적으로 변경했습니다.");
    EXPECT_EQ(Names(folder.path()),
              (std::set<std::string>{"20040315-142530.jpg", "20040315-142531.JPG", plainName,
                                     "zero.jpg"}));
    const struct statx dated = StatusOf(folder.file("20040315-142530.jpg"));
    EXPECT_EQ(dated.stx_mtime.tv_sec, LocalTime(2004, 3, 15, 14, 25, 30));
    EXPECT_EQ(dated.stx_atime.tv_sec, oldTime - 100);
    EXPECT_EQ(StatusOf(folder.file(plainName)).stx_mtime.tv_sec, oldTime);

    // The same settings again: every entry now stays as it is.
    RenameSession second(Inputs());
    EXPECT_TRUE(second.changeablePositions().empty());
    EXPECT_EQ(second.summaryText(), "전체 4개중 0개 변경 가능/4개 이름 변경불가능");
    const RenameOutcome nothing = second.rename(second.changeablePositions());
    EXPECT_EQ(nothing.message, "이름 변경을 할 수 없는 파일(들)입니다.");
    EXPECT_FALSE(nothing.failed());
}

TEST_F(RenameSessionTest, FileDateFlagOffKeepsTimes) {
    Picture("a.jpg", "2004:03:15 14:25:30");
    SetModifiedTime(folder.file("a.jpg"), LocalTime(2010, 5, 5, 5, 5, 5));
    NameSettings settings;
    settings.modifyFileDate = false;
    RenameSession session(Inputs(settings));
    EXPECT_EQ(session.rename(session.changeablePositions()).timesSet, 0);
    EXPECT_EQ(StatusOf(folder.file("20040315-142530.jpg")).stx_mtime.tv_sec,
              LocalTime(2010, 5, 5, 5, 5, 5));
}

TEST_F(RenameSessionTest, ExistingTargetFailsAndCanBeRetried) {
    Picture("a.jpg", "2004:03:15 14:25:30");
    Picture("b.jpg", "2004:03:15 14:25:31");
    Picture("c.jpg", "2004:03:15 14:25:32");
    ReadOnly("20040315-142532.jpg", "blocker c");
    ReadOnly("20040315-142530.jpg", "blocker a");
    const std::vector<uint8_t> a = ReadFileBytes(folder.file("a.jpg"));

    RenameSession session(Inputs());
    ASSERT_EQ(session.entries().size(), 3u);
    const RenameOutcome outcome = session.rename(session.changeablePositions());
    EXPECT_EQ(outcome.renamed, 1);
    EXPECT_EQ(outcome.failureLines, (std::vector<std::string>{"a.jpg\t-> 20040315-142530.jpg",
                                                              "c.jpg\t-> 20040315-142532.jpg"}));
    EXPECT_EQ(outcome.message,
              "총 3개의 파일중 2개의 파일의 이름 변경을 할 수 없습니다.\n이미 존재하는 파일인지 "
              "검사하십시오");
    EXPECT_EQ(ReadFileBytes(folder.file("a.jpg")), a);
    EXPECT_EQ(ReadFileBytes(folder.file("20040315-142530.jpg")),
              (std::vector<uint8_t>{'b', 'l', 'o', 'c', 'k', 'e', 'r', ' ', 'a'}));

    // The session now holds the failed entries; once a blocker is gone, a retry succeeds.
    EXPECT_TRUE(session.showingFailures());
    EXPECT_EQ(session.lines(), outcome.failureLines);
    EXPECT_TRUE(session.changeablePositions().empty());
    fs::remove(folder.file("20040315-142532.jpg"));
    const RenameOutcome retry = session.rename({1});
    EXPECT_EQ(retry.message, "1개의 이름을 성공적으로 변경했습니다.");
    EXPECT_TRUE(fs::exists(folder.file("20040315-142532.jpg")));
}

TEST_F(RenameSessionTest, NoFileIsEverLostOrReplaced) {
    // Collisions of every kind: a serial name that a later listed file holds, a numbered
    // name that an unlisted file holds, and names that would leave the folder.
    Picture("p1.jpg", "2004:03:15 14:25:30");
    Picture("p2.jpg", "2004:03:15 14:25:30");
    Picture("x.jpg", "2001:01:01 00:00:00");
    WriteFileBytes(folder.file("a.jpg"), {'a'});
    WriteFileBytes(folder.file("q002.jpg"), {'q'});
    ReadOnly("20040315-142530-001.jpg", "kept");
    TempFolder outside;
    const auto before = Contents(folder.path());
    const size_t count = Names(folder.path()).size();

    RenameSession serial(Inputs(Serial(3, "q")));
    const RenameOutcome serialOutcome = serial.rename(serial.changeablePositions());
    EXPECT_EQ(serialOutcome.renamed, 4);
    EXPECT_EQ(serialOutcome.failureLines, std::vector<std::string>{"p1.jpg\t-> q002.jpg"});
    EXPECT_EQ(Contents(folder.path()), before);

    RenameSession dated(Inputs());
    const RenameOutcome datedOutcome = dated.rename(dated.changeablePositions());
    EXPECT_EQ(datedOutcome.failureLines,
              std::vector<std::string>{"p1.jpg\t-> 20040315-142530-001.jpg"});
    EXPECT_EQ(ReadFileBytes(folder.file("20040315-142530-001.jpg")),
              (std::vector<uint8_t>{'k', 'e', 'p', 't'}));
    EXPECT_EQ(Contents(folder.path()), before);

    // Names that would leave the folder are refused already in the preview.
    RenameSession away(Inputs(Serial(2, "../" + outside.path().filename().string() + "/")));
    EXPECT_EQ(away.entries().size(), 5u);
    EXPECT_TRUE(away.changeablePositions().empty());
    const RenameOutcome awayOutcome = away.rename({0, 1, 2, 3, 4});
    EXPECT_EQ(awayOutcome.renamed, 0);
    EXPECT_NE(away.entries()[0].problem.english.find("is not a name in this folder"),
              std::string::npos);
    EXPECT_TRUE(fs::is_empty(outside.path()));
    EXPECT_EQ(Contents(folder.path()), before);
    EXPECT_EQ(Names(folder.path()).size(), count);
}

TEST_F(RenameSessionTest, NamesAreLimitedInCharactersAndByTheFileSystemsBytes) {
    Picture("a.jpg", "2004:03:15 14:25:30");
    NameSettings settings;
    std::string syllables;
    for (int i = 0; i < 40; ++i) syllables += "가";
    settings.prefix = syllables;  // 40 characters in 120 bytes
    RenameSession korean(Inputs(settings));
    ASSERT_EQ(korean.entries().size(), 1u);
    EXPECT_EQ(korean.entries()[0].newName, syllables + "20040315-142530.jpg");

    // 119 characters are within the name limit, but their 319 bytes are not a file name:
    // the preview says so, as the rename would.
    for (int i = 0; i < 60; ++i) syllables += "가";
    settings.prefix = syllables;
    RenameSession tooLong(Inputs(settings));
    EXPECT_EQ(tooLong.entries()[0].problem.english,
              "the new name is 319 bytes long; the file system allows at most 255");
    EXPECT_EQ(tooLong.summaryText(), "전체 1개중 0개 변경 가능/1개 이름 변경불가능");
    EXPECT_EQ(tooLong.rename({0}).renamed, 0);
    EXPECT_TRUE(fs::exists(folder.file("a.jpg")));
}

TEST_F(RenameSessionTest, SidecarsGoWithTheirPictureOrNothingOfTheSetMoves) {
    Picture("IMG_1.JPG", "2004:03:15 14:25:30");
    Picture("IMG_2.JPG", "2004:03:15 14:25:31");
    Picture("IMG_3.JPG", "2004:03:15 14:25:32");
    for (const char* name :
         {"IMG_1.xmp", "img_1.AAE", "IMG_2.THM", "IMG_3.txt", "20040315-142531.THM"})
        WriteFileBytes(folder.file(name), {'s'});
    NameSettings settings;
    settings.renameSidecars = false;
    EXPECT_TRUE(RenameSession(Inputs(settings)).entries()[0].sidecars.empty());

    settings.renameSidecars = true;
    RenameSession session(Inputs(settings));
    ASSERT_EQ(session.entries().size(), 3u);
    EXPECT_EQ(SidecarLines(session.entries()[0]),
              (std::vector<std::string>{"+ IMG_1.xmp\t-> + 20040315-142530.xmp",
                                        "+ img_1.AAE\t-> + 20040315-142530.AAE"}));
    EXPECT_TRUE(session.entries()[2].sidecars.empty());

    const auto before = Names(folder.path());
    const RenameOutcome outcome = session.rename(session.changeablePositions());
    EXPECT_EQ(outcome.renamed, 2);
    EXPECT_EQ(outcome.failureLines, std::vector<std::string>{"IMG_2.JPG\t-> 20040315-142531.jpg"});
    EXPECT_EQ(English(outcome.failureReasons),
              std::vector<std::string>{"the new name 20040315-142531.THM of the sidecar IMG_2.THM "
                                       "is taken; nothing of this set was renamed"});
    for (const char* name : {"20040315-142530.jpg", "20040315-142530.xmp", "20040315-142530.AAE",
                             "IMG_2.JPG", "IMG_2.THM", "20040315-142532.jpg"})
        EXPECT_TRUE(fs::exists(folder.file(name))) << name;

    // One journal entry holds the set: undo gives every file of it its old name.
    const UndoOutcome undo = UndoLastRun(folder.path(), JournalFolder());
    EXPECT_EQ(undo.reverted, 2);
    EXPECT_EQ(undo.revertedExtras, 2);
    EXPECT_EQ(Names(folder.path()), before);
}

}  // namespace
}  // namespace corvelle
