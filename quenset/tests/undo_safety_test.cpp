// Rename and undo under what a real folder sees: another file under the run's name or inode
// number, another quenset at work, sets that must move and come back whole, a user who gives
// up on a file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "core/folder_lock.h"
#include "core/rename_session.h"
#include "core/run_journals.h"
#include "core/undo_journal.h"
#include "core/undo_run.h"
#include "test_pictures.h"

namespace corvelle {
namespace {

using namespace corvelle::testing;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// Saved the way editors save: a new file put over the old name.
void SaveAsNewFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    WriteFileBytes(path + ".tmp", bytes);
    fs::rename(path + ".tmp", path);
}

ino_t InodeOf(const std::string& path) {
    struct stat status {};
    lstat(path.c_str(), &status);
    return status.st_ino;
}

class UndoSafetyTest : public ::testing::Test {
  protected:
    FixedTimeZone zone{"KST-9"};
    TempFolder folder;
    TempFolder journals;

    void Picture(const std::string& name, const std::string& taken) {
        WriteFileBytes(folder.file(name), JpegWithDates(taken, ""));
    }
    RenameSession Session(const NameSettings& settings = {}) {
        RenameSession session(RunInputsFromSettings(settings, folder.path().string()));
        session.setJournalFolder(journals.path().string());
        session.setLockWait(100ms);
        return session;
    }
    RenameOutcome Run(const NameSettings& settings = {}) {
        RenameSession session = Session(settings);
        return session.rename(session.changeablePositions());
    }
    UndoOutcome Undo(UndoRequest request = {}) {
        request.lockWait = 100ms;
        return UndoLastRun(folder.path().string(), journals.path().string(), request);
    }
    std::string OnlyJournal() const {
        for (const auto& item : fs::directory_iterator(journals.path()))
            if (item.path().extension() == ".journal") return item.path();
        return {};
    }
    std::vector<RunSummary> Runs() const {
        return ListRuns(folder.path(), journals.path(), std::time(nullptr));
    }
};

TEST(FileIdentity, BirthTimeTellsAFileFromOneThatGotItsInode) {
    JournalFile recorded;
    recorded.inode = 5;
    recorded.birth = timespec{100, 1};
    recorded.size = 10;
    recorded.priorModified = {50, 0};
    JournalFile withoutBirth = recorded;
    withoutBirth.birth.reset();
    const auto stamp = [](ino_t inode, std::optional<timespec> birth, long long size,
                          std::time_t modified) {
        FileStamp now;
        now.inode = inode;
        now.birth = birth;
        now.size = size;
        now.modified = {modified, 0};
        return now;
    };
    using M = FolderMatch;
    struct Row {
        const char* what;
        const JournalFile& file;
        FileStamp now;
        FolderMatch match;
        bool same;
    } rows[] = {
        {"edited since: inode and birth hold", recorded, stamp(5, timespec{100, 1}, 99, 77),
         M::SameFolder, true},
        {"inode handed on to a new file", recorded, stamp(5, timespec{200, 0}, 10, 50),
         M::SameFolder, false},
        {"another inode", recorded, stamp(6, timespec{100, 1}, 10, 50), M::SameFolder, false},
        {"no birth time: size and time hold", withoutBirth, stamp(5, std::nullopt, 10, 50),
         M::SameFolder, true},
        {"no birth time: edited is left alone", withoutBirth, stamp(5, std::nullopt, 11, 50),
         M::SameFolder, false},
        {"card mounted again: size and time", recorded, stamp(9, std::nullopt, 10, 50),
         M::SamePath, true},
        {"card mounted again: another time", recorded, stamp(9, std::nullopt, 10, 51),
         M::SamePath, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(IsTheRenamedFile(row.file, false, row.now, row.match), row.same) << row.what;
}

TEST_F(UndoSafetyTest, AStrangerWithTheRunsInodeOrFolderInodeIsLeftAlone) {
    Picture("a.jpg", "2004:03:15 14:25:30");
    ASSERT_EQ(Run().renamed, 1);
    // The renamed file deleted and another copied in under its name; ext4 may hand it the
    // same inode number, as the record is made to say here.
    const std::string renamed = folder.file("20040315-142530.jpg");
    fs::remove(renamed);
    WriteFileBytes(renamed, JpegWithDates("2010:01:01 00:00:00", ""));
    const std::string path = OnlyJournal();
    std::string text = ReadText(path);
    const size_t at = text.find("\nfile ") + 6;
    text.replace(at, text.find(' ', at) - at, std::to_string(InodeOf(renamed)));
    WriteText(path, text);
    const UndoOutcome undo = Undo();
    EXPECT_EQ(English(undo.failureReasons),
              std::vector<std::string>{"changed after the rename; left as it is"});
    EXPECT_TRUE(fs::exists(renamed));

    // A folder made after this one was removed may get its inode: it is not this folder.
    TempFolder other;
    const size_t identity = text.find("identity ");
    const size_t inode = text.find(' ', identity + 9) + 1;
    text.replace(inode, text.find(' ', inode) - inode, std::to_string(InodeOf(other.path())));
    WriteText(path, text);
    EXPECT_TRUE(ListRuns(other.path(), journals.path(), std::time(nullptr)).empty());
}

TEST_F(UndoSafetyTest, OneQuensetAtATimeWorksOnAFolder) {
    Picture("a.jpg", "2004:03:15 14:25:30");
    const auto before = Names(folder.path());
    {
        const FolderHandle handle(folder.path().string());
        const FolderLock held(journals.path().string(), handle.fd());
        ASSERT_TRUE(held.held());
        RenameSession session = Session();
        const RenameOutcome renamed = session.rename(session.changeablePositions());
        EXPECT_EQ(renamed.refusal.english, "another quenset is working on this folder");
        EXPECT_TRUE(renamed.failed());
        EXPECT_EQ(Names(folder.path()), before);
        EXPECT_TRUE(Undo().busy);
    }
    ASSERT_EQ(Run().renamed, 1);
    const FolderHandle handle(folder.path().string());
    std::optional<FolderLock> held(std::in_place, journals.path().string(), handle.fd());
    const UndoOutcome refused = Undo();
    EXPECT_TRUE(refused.busy);
    EXPECT_EQ(refused.refusal.korean, kFolderBusyKorean);
    EXPECT_FALSE(fs::exists(folder.file("a.jpg")));
    held.reset();
    EXPECT_EQ(Undo().reverted, 1);
    EXPECT_EQ(Names(folder.path()), before);
}

TEST_F(UndoSafetyTest, SidecarsFollowTheirPictureBackAndStayWithOneThatCannot) {
    Picture("IMG_1.jpg", "2004:03:15 14:25:30");
    Picture("IMG_2.jpg", "2004:03:15 14:25:31");
    for (const char* name : {"IMG_1.xmp", "IMG_1.jpg.xmp", "IMG_2.xmp"})
        WriteFileBytes(folder.file(name), {'s'});
    RenameSession session = Session();
    EXPECT_EQ(SidecarLines(session.entries()[0]),
              (std::vector<std::string>{"+ IMG_1.xmp\t-> + 20040315-142530.xmp",
                                        "+ IMG_1.jpg.xmp\t-> + 20040315-142530.jpg.xmp"}));
    EXPECT_EQ(session.rename(session.changeablePositions()).message,
              "2개의 이름을 성공적으로 변경했습니다. (보조 파일 3개 함께)");

    // An editor saved IMG_1's sidecar anew; IMG_2 itself was replaced by another picture.
    SaveAsNewFile(folder.file("20040315-142530.xmp"), {'e', 'd', 'i', 't'});
    SaveAsNewFile(folder.file("20040315-142531.jpg"), JpegWithDates("2010:01:01 00:00:00", ""));
    const UndoOutcome undo = Undo();
    EXPECT_EQ(undo.reverted, 1);
    EXPECT_EQ(undo.revertedExtras, 2);
    EXPECT_EQ(undo.failedSets, 1);
    EXPECT_EQ(undo.failureLines, (std::vector<std::string>{"20040315-142531.jpg\t-> IMG_2.jpg",
                                                           "20040315-142531.xmp\t-> IMG_2.xmp"}));
    EXPECT_EQ(English(undo.failureReasons)[1],
              "stays with its picture, which could not be reverted");
    EXPECT_EQ(ReadFileBytes(folder.file("IMG_1.xmp")), (std::vector<uint8_t>{'e', 'd', 'i', 't'}));
    EXPECT_TRUE(fs::exists(folder.file("IMG_1.jpg.xmp")));
    EXPECT_TRUE(fs::exists(folder.file("20040315-142531.xmp")));
    EXPECT_TRUE(UndoMessage(undo, 20).starts_with("총 2개의 파일중 1개의 파일을 되돌릴 수 없습니다."));
}

TEST_F(UndoSafetyTest, RawAndJpegOfOneSecondStayPairs) {
    Picture("IMG_2.jpg", "2004:03:15 14:25:30");
    Picture("IMG_3.jpg", "2004:03:15 14:25:30");
    for (const char* name : {"IMG_2.CR2", "IMG_2.xmp", "IMG_3.cr2"})
        WriteFileBytes(folder.file(name), {'r'});
    const auto before = Names(folder.path());
    RenameSession session = Session();
    std::vector<std::string> lines;
    for (const RenameEntry& entry : session.entries()) {
        lines.push_back(EntryLine(entry));
        for (const std::string& line : SidecarLines(entry)) lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "IMG_2.jpg\t-> 20040315-142530-001.jpg",
                         "+ IMG_2.xmp\t-> + 20040315-142530-001.xmp",
                         "+ IMG_2.CR2\t-> + 20040315-142530-001.cr2",
                         "IMG_3.jpg\t-> 20040315-142530-002.jpg",
                         "+ IMG_3.cr2\t-> + 20040315-142530-002.cr2"}));
    ASSERT_EQ(session.rename(session.changeablePositions()).renamed, 2);
    const std::vector<RunSummary> runs = Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].open.sets, 2u);
    EXPECT_EQ(runs[0].open.extras, 3u);
    EXPECT_EQ(UndoQuestion(runs[0]).substr(UndoQuestion(runs[0]).find("파일 2개")),
              "파일 2개 (보조 파일 3개 함께)가 원래 이름으로 돌아갑니다.\n\n되돌리시겠습니까?");
    EXPECT_EQ(Undo().revertedExtras, 3);
    EXPECT_EQ(Names(folder.path()), before);
}

TEST_F(UndoSafetyTest, SkippingAFileThatCannotComeBackReachesTheRunBefore) {
    Picture("a.jpg", "2004:03:15 14:25:30");
    Picture("b.jpg", "2004:03:15 14:25:31");
    ASSERT_EQ(Run().renamed, 2);
    NameSettings serial;
    serial.nameType = 1;
    ASSERT_EQ(Run(serial).renamed, 2);
    fs::remove(folder.file("001.jpg"));
    EXPECT_EQ(Undo().reverted, 1);
    const UndoOutcome again = Undo();
    EXPECT_EQ(again.retried, 1);
    EXPECT_TRUE(again.failed());

    UndoRequest skip;
    skip.skip = true;
    const UndoOutcome skipped = Undo(skip);
    EXPECT_EQ(skipped.skipped, 1);
    EXPECT_EQ(UndoMessage(skipped, 20).substr(UndoMessage(skipped, 20).find("남은")),
              "남은 파일 1개를 건너뛰었습니다. 다음 되돌리기는 그 전의 이름 변경을 되돌립니다.");
    const std::vector<RunSummary> runs = Runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].state, RunSummary::State::Undone);
    EXPECT_EQ(runs[0].skipped, 1u);
    EXPECT_EQ(Undo().reverted, 1);  // the run before: b's date name goes back to b.jpg
    EXPECT_TRUE(fs::exists(folder.file("b.jpg")));
}

TEST_F(UndoSafetyTest, CountsAndRecordsThatCannotBeReadStayRight) {
    Picture("a.jpg", "2004:03:15 14:25:30");
    Picture("b.jpg", "2004:03:15 14:25:31");
    ASSERT_EQ(Run().renamed, 2);
    // An undo killed after giving a.jpg its name back, before its mark.
    fs::rename(folder.file("20040315-142530.jpg"), folder.file("a.jpg"));
    ASSERT_EQ(Runs().size(), 1u);
    EXPECT_EQ(Runs()[0].open.sets, 1u);
    // A newer program's record that names no folder is nobody's to block.
    WriteText(journals.file("run-99999999999999999999.journal"),
              "Quenset rename journal 9\nsomething new\n");
    const UndoOutcome undo = Undo();
    EXPECT_FALSE(undo.refused());
    EXPECT_EQ(undo.reverted, 1);
    ASSERT_EQ(undo.notes.size(), 1u);
    EXPECT_NE(undo.notes[0].find("names no folder"), std::string::npos);

    // Marks that cannot be written say why.
    const JournalAppender gone(journals.file("no/such.journal"), 0);
    EXPECT_NE(gone.problem().find("No such file or directory"), std::string::npos);
}

}  // namespace
}  // namespace corvelle
