// Undo of rename runs: names and times come back exactly, one run at a time, a file is never
// replaced, and a journal that cannot be trusted is refused before anything is touched.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "core/rename_session.h"
#include "core/run_journals.h"
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
    // Swaps two files' names by hand, as a user might.
    void Swap(const std::string& a, const std::string& b) {
        fs::rename(folder.file(a), folder.file("swap"));
        fs::rename(folder.file(b), folder.file(a));
        fs::rename(folder.file("swap"), folder.file(b));
    }
    std::vector<RunSummary::State> States() const {
        std::vector<RunSummary::State> states;
        for (const RunSummary& run : ListRuns(folder.path(), journals.path(), std::time(nullptr)))
            states.push_back(run.state);
        return states;
    }
    std::vector<std::string> Journals() const {
        std::vector<std::string> paths;
        for (const auto& item : fs::directory_iterator(journals.path()))
            if (item.path().extension() == ".journal") paths.push_back(item.path());
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
    EXPECT_EQ(undo.refusal.english, "");
    EXPECT_EQ(undo.reverted, 3);
    EXPECT_EQ(Snapshot(folder.path()), afterFirst);

    undo = Undo();
    EXPECT_EQ(undo.reverted, 2);
    EXPECT_TRUE(undo.failureLines.empty());
    EXPECT_EQ(Snapshot(folder.path()), original);

    EXPECT_EQ(Undo().refusal.english, "no rename run to undo in " + folder.path().string());
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
    EXPECT_NE(undo.refusal.english.find("is damaged"), std::string::npos) << undo.refusal.english;
    EXPECT_EQ(Snapshot(folder.path()), renamed);

    WriteText(path, "Quenset rename journal 9\nfolder " +
                        EscapeJournalName(AbsoluteFolderPath(folder.path())) + "\n");
    undo = Undo();
    EXPECT_NE(undo.refusal.english.find("newer Quenset"), std::string::npos)
        << undo.refusal.english;
    EXPECT_EQ(Snapshot(folder.path()), renamed);

    // A run cut short after its second rename, before that file's mark: the last mark is
    // half written. The file under its new name is still the run's own, so it goes back.
    const size_t lastDone = good.rfind("done ");
    WriteText(path, good.substr(0, lastDone) + "do");
    // A newer damaged record of another folder does not stand in the way.
    WriteText(journals.file("run-9.journal"), "Quenset rename journal 1\nidentity 1 2\n?\n");
    undo = Undo();
    EXPECT_EQ(undo.refusal.english, "");
    EXPECT_EQ(undo.reverted, 2);
    EXPECT_EQ(Snapshot(folder.path()), original);
    JournalRecord record;
    std::string why;
    ASSERT_EQ(ParseJournal(ReadText(path), record, why), JournalRead::Ok) << why;
    EXPECT_TRUE(record.undone);
}

using State = RunSummary::State;
const std::string kChanged = "changed after the rename; left as it is";

TEST_F(UndoTest, OnlyTheFilesTheRunRenamedAreRevertedAndTheOthersStayOpen) {
    const auto original = Snapshot(folder.path());
    ASSERT_EQ(Run().renamed, 2);
    // Swapped by hand: neither file under a new name is the one the run put there.
    Swap("20040315-142530.jpg", "20050607-080910.jpg");
    UndoOutcome undo = Undo();
    EXPECT_EQ(undo.reverted, 0);
    EXPECT_EQ(English(undo.failureReasons), (std::vector<std::string>{kChanged, kChanged}));
    EXPECT_TRUE(undo.failed());
    EXPECT_TRUE(fs::exists(folder.file("20040315-142530.jpg")));
    // Both stay open: put right, the next undo reverts them.
    Swap("20040315-142530.jpg", "20050607-080910.jpg");
    EXPECT_EQ(Undo().reverted, 2);
    EXPECT_EQ(Snapshot(folder.path()), original);
}

TEST_F(UndoTest, AFileEditedSinceTheRunGetsItsNameBackButKeepsItsNewTime) {
    auto expected = Snapshot(folder.path());
    ASSERT_EQ(Run().renamed, 2);
    SetModifiedTime(folder.file("20040315-142530.jpg"), 1700000000);
    const UndoOutcome undo = Undo();
    EXPECT_EQ(undo.reverted, 2);
    EXPECT_TRUE(undo.failureLines.empty());
    expected["a.jpg"] = {1700000000, 0};
    EXPECT_EQ(Snapshot(folder.path()), expected);
}

TEST_F(UndoTest, AFolderOnAnotherDeviceIsFoundByItsPathAndJudgedBySizeAndTime) {
    const auto original = Snapshot(folder.path());
    ASSERT_EQ(Run().renamed, 2);
    // A memory card mounted again: same path, new device number.
    const std::string path = Journals().at(0);
    std::string text = ReadText(path);
    const size_t at = text.find("identity ") + 9;
    text.replace(at, text.find(' ', at) - at, "999999");
    WriteText(path, text);
    // Inode numbers say nothing there, so an edited file is not known as the run's own.
    SetModifiedTime(folder.file("20050607-080910.jpg"), 1700000000);
    UndoOutcome undo = Undo();
    EXPECT_EQ(undo.refusal.english, "");
    EXPECT_EQ(undo.reverted, 1);
    EXPECT_EQ(English(undo.failureReasons), std::vector<std::string>{kChanged});
    EXPECT_TRUE(fs::exists(folder.file("a.jpg")));
    EXPECT_TRUE(fs::exists(folder.file("20050607-080910.jpg")));
    SetModifiedTime(folder.file("20050607-080910.jpg"), LocalTime(2005, 6, 7, 8, 9, 10));
    EXPECT_EQ(Undo().reverted, 1);
    EXPECT_EQ(Snapshot(folder.path()), original);
}

TEST_F(UndoTest, APartlyFailedUndoKeepsItsRunOpenAndTheNextUndoRetriesIt) {
    ASSERT_EQ(Run().renamed, 2);
    const auto afterFirst = Snapshot(folder.path());
    NameSettings serial;
    serial.nameType = 1;
    ASSERT_EQ(Run(serial).renamed, 3);
    EXPECT_EQ(States(), (std::vector<State>{State::Open, State::Open}));

    WriteFileBytes(folder.file("20040315-142530.jpg"), {'x'});  // in the way of one file
    UndoOutcome undo = Undo();
    EXPECT_EQ(undo.reverted, 2);
    EXPECT_EQ(undo.failureLines, std::vector<std::string>{"001.jpg\t-> 20040315-142530.jpg"});
    EXPECT_EQ(RetryText(undo), "");
    const std::vector<RunSummary> runs =
        ListRuns(folder.path(), journals.path(), std::time(nullptr));
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].state, State::PartlyUndone);
    EXPECT_EQ(runs[0].renamed.sets, 3u);
    EXPECT_EQ(runs[0].open.sets, 1u);

    fs::remove(folder.file("20040315-142530.jpg"));
    undo = Undo();
    EXPECT_EQ(undo.reverted, 1);
    EXPECT_EQ(undo.retried, 1);
    EXPECT_EQ(RetryText(undo), "retrying 1 file of the run of " + RunTimeText(undo.runTime));
    EXPECT_EQ(Snapshot(folder.path()), afterFirst);
    EXPECT_EQ(States(), (std::vector<State>{State::Undone, State::Open}));
}

TEST_F(UndoTest, StrayAndDamagedJournalsStandOnlyInTheWayOfTheirOwnFolder) {
    const auto original = Snapshot(folder.path());
    ASSERT_EQ(Run().renamed, 2);
    // Newer than the run: an old and a fresh empty journal, a folder, a damaged journal
    // naming no folder and one naming another folder by its path.
    const std::string oldEmpty = journals.file("run-99999999999999999995.journal");
    const std::string freshEmpty = journals.file("run-99999999999999999996.journal");
    WriteText(oldEmpty, "");
    WriteText(freshEmpty, "");
    SetModifiedTime(oldEmpty, std::time(nullptr) - 120);
    fs::create_directory(journals.file("run-99999999999999999997.journal"));
    WriteText(journals.file("run-99999999999999999998.journal"), "\x01\x02 garbage\n");
    WriteText(journals.file("run-99999999999999999999.journal"),
              "Quenset rename journal 2\nfolder /elsewhere\n?\n");
    const UndoOutcome undo = Undo();
    EXPECT_EQ(undo.refusal.english, "");
    EXPECT_EQ(undo.reverted, 2);
    ASSERT_EQ(undo.notes.size(), 1u);
    EXPECT_NE(undo.notes[0].find("run-99999999999999999998.journal is damaged"), std::string::npos);
    EXPECT_EQ(Snapshot(folder.path()), original);
    EXPECT_FALSE(fs::exists(oldEmpty));
    EXPECT_TRUE(fs::exists(freshEmpty));
}

TEST_F(UndoTest, JournalsAreKeptToTheNewestHundredRunsAndUndoneOnesForThirtyDays) {
    const std::time_t now = std::time(nullptr);
    auto journal = [&](int number, const std::string& folderPath, const std::string& end) {
        char name[64];
        std::snprintf(name, sizeof name, "run-%020d-000000000-1-00.journal", number);
        WriteText(journals.file(name), "Quenset rename journal 2\nfolder " + folderPath +
                                           "\nidentity 1 2\ntime 5\nfile 1 1 0 0 0 -1 x y\n"
                                           "ready\ndone 0 0\n" +
                                           end);
        return journals.file(name);
    };
    const std::string realPath = AbsoluteFolderPath(folder.path());
    std::vector<std::string> own;
    for (int i = 1; i <= 100; ++i) own.push_back(journal(i, realPath, ""));
    const std::string recentUndone =
        journal(101, "/other", "undone " + std::to_string(now - 10 * 86400) + "\n");
    const std::string oldUndone =
        journal(102, "/other", "undone " + std::to_string(now - 31 * 86400) + "\n");
    ASSERT_EQ(Run().renamed, 2);  // the 101st run of this folder
    EXPECT_EQ(Journals().size(), 101u);
    EXPECT_FALSE(fs::exists(own[0]));
    EXPECT_TRUE(fs::exists(own[1]));
    EXPECT_TRUE(fs::exists(recentUndone));
    EXPECT_FALSE(fs::exists(oldUndone));
}

TEST(UndoJournalFormat, NamesOfAnyBytesSurviveTheRecord) {
    TempFolder journals, folder;
    const FolderHandle handle(folder.path().string());
    const std::string odd = "a b%c\t\xe9\n.jpg";
    RenameJournal journal;
    JournalFile planned;
    planned.oldName = odd;
    planned.newName = "new.jpg";
    planned.inode = 77;
    planned.priorModified = {1, 999999999};
    planned.setsTime = true;
    ASSERT_TRUE(journal.begin(journals.path().string(), handle.fd(), "/some where", 12345,
                              {planned}));
    journal.fileDone(0, true, timespec{5, 6});
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
    // A plan never completed still gives each of its files a mark to look at.
    ASSERT_EQ(ParseJournal("Quenset rename journal 2\nfile 1 1 0 0 0 -1 x y\n", record, why),
              JournalRead::Ok);
    EXPECT_EQ(record.done.size(), 1u);
    EXPECT_EQ(record.reverted.size(), 1u);
}

}  // namespace
}  // namespace corvelle
