// Undo of rename runs: names and times come back exactly, one run at a time, a file is never
// replaced, and a journal that cannot be trusted is refused before anything is touched.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "core/rename_session.h"
#include "core/undo_journal.h"
#include "core/undo_run.h"
#include "test_pictures.h"

namespace corvelle {
namespace {

using namespace corvelle::testing;
namespace fs = std::filesystem;

// Every file's name and last-write time, to the nanosecond.
std::map<std::string, std::pair<long long, long>> Snapshot(const fs::path& folder) {
    std::map<std::string, std::pair<long long, long>> files;
    for (const auto& item : fs::directory_iterator(folder)) {
        struct stat status {};
        lstat(item.path().c_str(), &status);
        files[item.path().filename()] = {status.st_mtim.tv_sec, status.st_mtim.tv_nsec};
    }
    return files;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

class UndoTest : public ::testing::Test {
  protected:
    FixedTimeZone zone{"KST-9"};
    TempFolder folder;
    TempFolder journals;

    void SetUp() override {
        WriteFileBytes(folder.file("a.jpg"), JpegWithDates("2004:03:15 14:25:30", ""));
        WriteFileBytes(folder.file("b.jpg"), JpegWithDates("2005:06:07 08:09:10", ""));
        WriteFileBytes(folder.file("c.jpg"), JpegWithDates("0000:00:00 00:00:00", ""));
    }
    RenameOutcome Run(const NameSettings& settings = {}) {
        RenameSession session(RunInputsFromSettings(settings, folder.path().string()));
        session.setJournalFolder(journals.path().string());
        return session.rename(session.changeablePositions());
    }
    UndoOutcome Undo(const std::string& spelling = {}) {
        return UndoLastRun(spelling.empty() ? folder.path().string() : spelling,
                           journals.path().string());
    }
    std::vector<std::string> Journals() const {
        std::vector<std::string> paths;
        for (const auto& item : fs::directory_iterator(journals.path())) paths.push_back(item.path());
        std::sort(paths.begin(), paths.end());
        return paths;
    }
};

TEST_F(UndoTest, NamesAndTimesComeBackOneRunAtATime) {
    const auto original = Snapshot(folder.path());
    ASSERT_EQ(Run().renamed, 2);
    const auto afterFirst = Snapshot(folder.path());
    EXPECT_TRUE(afterFirst.count("20040315-142530.jpg"));
    EXPECT_EQ(afterFirst.at("20040315-142530.jpg").first, LocalTime(2004, 3, 15, 14, 25, 30));

    NameSettings serial;
    serial.nameType = 1;
    ASSERT_EQ(Run(serial).renamed, 3);
    EXPECT_EQ(Journals().size(), 2u);
    // A run that renames nothing leaves no record.
    EXPECT_EQ(Run(serial).renamed, 0);
    EXPECT_EQ(Journals().size(), 2u);

    // Any spelling of the folder finds its runs.
    UndoOutcome undo = Undo(folder.path().string() + "/./");
    EXPECT_EQ(undo.refusal, "");
    EXPECT_EQ(undo.reverted, 3);
    EXPECT_EQ(Snapshot(folder.path()), afterFirst);

    undo = Undo();
    EXPECT_EQ(undo.reverted, 2);
    EXPECT_TRUE(undo.failureLines.empty());
    EXPECT_EQ(Snapshot(folder.path()), original);

    EXPECT_EQ(Undo().refusal, "no rename run to undo in " + folder.path().string());
}

TEST_F(UndoTest, AnExistingFileIsNeverReplacedAndAMissingOneIsReported) {
    ASSERT_EQ(Run().renamed, 2);
    WriteFileBytes(folder.file("a.jpg"), {'n', 'e', 'w'});
    fs::remove(folder.file("20050607-080910.jpg"));
    const UndoOutcome undo = Undo();
    EXPECT_EQ(undo.reverted, 0);
    const std::vector<std::string> failures = {"20050607-080910.jpg\t-> b.jpg",
                                               "20040315-142530.jpg\t-> a.jpg"};
    EXPECT_EQ(undo.failureLines, failures);
    EXPECT_EQ(ReadFileBytes(folder.file("a.jpg")), (std::vector<uint8_t>{'n', 'e', 'w'}));
    EXPECT_TRUE(fs::exists(folder.file("20040315-142530.jpg")));
    EXPECT_TRUE(undo.failed());
}

TEST_F(UndoTest, UntrustedJournalsAreRefusedWholeAndACutRunIsStillReverted) {
    const auto original = Snapshot(folder.path());
    ASSERT_EQ(Run().renamed, 2);
    const auto renamed = Snapshot(folder.path());
    const std::string path = Journals().at(0);
    const std::string good = ReadText(path);

    WriteText(path, good + "done 7 1\n");
    UndoOutcome undo = Undo();
    EXPECT_NE(undo.refusal.find("is damaged"), std::string::npos) << undo.refusal;
    EXPECT_EQ(Snapshot(folder.path()), renamed);

    WriteText(path, "Quenset rename journal 2\nsomething new\n");
    undo = Undo();
    EXPECT_NE(undo.refusal.find("newer Quenset"), std::string::npos) << undo.refusal;
    EXPECT_EQ(Snapshot(folder.path()), renamed);

    // A run cut short after its second rename, before that file's mark: the last mark is
    // half written. The file under its new name is still the run's own, so it goes back.
    const size_t lastDone = good.rfind("done ");
    WriteText(path, good.substr(0, lastDone) + "do");
    // A newer damaged record of another folder does not stand in the way.
    WriteText(journals.file("run-9.journal"), "Quenset rename journal 1\nidentity 1 2\n?\n");
    undo = Undo();
    EXPECT_EQ(undo.refusal, "");
    EXPECT_EQ(undo.reverted, 2);
    EXPECT_EQ(Snapshot(folder.path()), original);
    JournalRecord record;
    std::string why;
    ASSERT_EQ(ParseJournal(ReadText(path), record, why), JournalRead::Ok) << why;
    EXPECT_TRUE(record.undone);
}

TEST(UndoJournalFormat, NamesOfAnyBytesSurviveTheRecord) {
    TempFolder journals, folder;
    const FolderHandle handle(folder.path().string());
    const std::string odd = "a b%c\t\xe9\n.jpg";
    RenameJournal journal;
    ASSERT_TRUE(journal.begin(journals.path().string(), handle.fd(), "/some where", 12345,
                              {{odd, "new.jpg", 77, {1, 999999999}, true}}));
    journal.fileDone(0, true);
    journal.finish(1);
    JournalRecord record;
    std::string why;
    ASSERT_EQ(ParseJournal(ReadText(journal.path()), record, why), JournalRead::Ok) << why;
    EXPECT_EQ(record.folder, "/some where");
    EXPECT_EQ(record.time, 12345);
    ASSERT_EQ(record.files.size(), 1u);
    EXPECT_EQ(record.files[0].oldName, odd);
    EXPECT_EQ(record.files[0].priorModified.tv_nsec, 999999999);
    EXPECT_EQ(record.done[0], std::optional<bool>(true));
    EXPECT_EQ(ParseJournal("Quenset rename journal 1\nfile 1 2 3 1 %G0 b\n", record, why),
              JournalRead::Damaged);
}

}  // namespace
}  // namespace corvelle
