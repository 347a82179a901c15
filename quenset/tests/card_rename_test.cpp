// Renaming where the file system takes neither the no-replace rename nor hard links (exFAT
// and FAT memory cards through FUSE): a real card image where this machine can mount one,
// and the same refusals made up on any file system.
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "core/rename_session.h"
#include "core/set_move.h"
#include "core/undo_run.h"
#include "test_pictures.h"

namespace corvelle {
namespace {

using namespace corvelle::testing;
namespace fs = std::filesystem;

int RefuseNoReplace(int, const char*, int, const char*, unsigned) {
    errno = EINVAL;
    return -1;
}
int RefuseLinks(int, const char*, int, const char*, int) {
    errno = EPERM;
    return -1;
}

// Made-up failures: the sidecar cannot move, nor can its picture go back.
int FailSidecarAndWayBack(int fromFd, const char* from, int toFd, const char* to, unsigned flags) {
    const std::string_view target = to;
    if (target.ends_with(".xmp")) {
        errno = EACCES;
        return -1;
    }
    if (target == "IMG_1.jpg") {
        errno = EIO;
        return -1;
    }
    return int(syscall(SYS_renameat2, fromFd, from, toFd, to, flags));
}

// Whatever a test does, the kernel's calls come back.
struct RenameCalls {
    RenameCalls(RenameAt2 rename, LinkAt link) { SetRenameCallsForTesting(rename, link); }
    ~RenameCalls() { SetRenameCallsForTesting(nullptr, nullptr); }
};

// Renames a picture with its sidecar, meets a file in the way of another, and undoes.
void RenameAndUndoOn(const std::string& folder, const std::string& journals) {
    const FixedTimeZone zone("KST-9");
    WriteFileBytes(folder + "/a.jpg", JpegWithDates("2004:03:15 14:25:30", ""));
    WriteFileBytes(folder + "/a.xmp", {'s'});
    WriteFileBytes(folder + "/b.jpg", JpegWithDates("2005:06:07 08:09:10", ""));
    fs::create_directory(folder + "/20050607-080910.jpg");  // in b's way, and not listed
    const auto before = Names(folder);
    RenameSession session(RunInputsFromSettings({}, folder));
    session.setJournalFolder(journals);
    const RenameOutcome outcome = session.rename(session.changeablePositions());
    EXPECT_EQ(outcome.renamed, 1);
    EXPECT_EQ(English(outcome.failureReasons),
              std::vector<std::string>{"a file of the new name exists"});
    EXPECT_TRUE(fs::exists(folder + "/20040315-142530.xmp"));
    EXPECT_TRUE(fs::is_directory(folder + "/20050607-080910.jpg"));
    // The shooting date took as last-write time (a card's FUSE driver ignores a time given
    // without the access time).
    struct stat renamed {};
    ASSERT_EQ(stat((folder + "/20040315-142530.jpg").c_str(), &renamed), 0);
    EXPECT_EQ(renamed.st_mtime, LocalTime(2004, 3, 15, 14, 25, 30));
    const UndoOutcome undo = UndoLastRun(folder, journals);
    EXPECT_TRUE(undo.failureLines.empty() && !undo.refused());
    EXPECT_EQ(undo.reverted, 1);
    EXPECT_EQ(undo.revertedExtras, 1);
    EXPECT_EQ(Names(folder), before);
}

TEST(CardRename, WithoutNoReplaceRenamesOrLinksNothingIsReplaced) {
    TempFolder folder, journals;
    const RenameCalls refused(RefuseNoReplace, RefuseLinks);
    RenameAndUndoOn(folder.path().string(), journals.path().string());
}

TEST(CardRename, ASetThatCannotGoBackSaysWhatItFound) {
    TempFolder folder, journals;
    WriteFileBytes(folder.file("IMG_1.jpg"), JpegWithDates("2004:03:15 14:25:30", ""));
    WriteFileBytes(folder.file("IMG_1.xmp"), {'s'});
    RenameSession session(RunInputsFromSettings({}, folder.path().string()));
    session.setJournalFolder(journals.path().string());
    {
        const RenameCalls failing(FailSidecarAndWayBack, nullptr);
        const RenameOutcome outcome = session.rename(session.changeablePositions());
        EXPECT_EQ(English(outcome.failureReasons),
                  std::vector<std::string>{"IMG_1.xmp: Permission denied; IMG_1.jpg keeps the "
                                           "name 20040315-142530.jpg: Input/output error"});
    }
    // The picture that stayed renamed is in the record, so undo finds it.
    EXPECT_EQ(UndoLastRun(folder.path().string(), journals.path().string()).reverted, 1);
    EXPECT_TRUE(fs::exists(folder.file("IMG_1.jpg")));
}

// A real exFAT card image, mounted through FUSE on a loop device.
class ExfatCard : public ::testing::Test {
  protected:
    TempFolder work;
    std::string loop;
    std::string mount;

    void SetUp() override {
        const std::string image = work.file("card.img");
        mount = work.file("card");
        fs::create_directory(mount);
        const auto run = [](const std::string& command) {
            return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
        };
        if (geteuid() != 0 || !fs::exists("/dev/fuse") ||
            !run("command -v mkfs.exfat && command -v mount.exfat-fuse && command -v losetup"))
            GTEST_SKIP() << "no FUSE exFAT here (needs root, /dev/fuse, exfatprogs, exfat-fuse)";
        if (!run("truncate -s 8M '" + image + "' && mkfs.exfat '" + image + "'"))
            GTEST_SKIP() << "mkfs.exfat failed";
        std::FILE* pipe = popen(("losetup -f --show '" + image + "' 2>/dev/null").c_str(), "r");
        char device[64] = "";
        if (pipe != nullptr) {
            if (std::fgets(device, sizeof device, pipe) == nullptr) device[0] = '\0';
            pclose(pipe);
        }
        loop = std::string(device).substr(0, std::strcspn(device, "\n"));
        if (loop.empty()) GTEST_SKIP() << "no loop device for the card image";
        if (!run("mount.exfat-fuse '" + loop + "' '" + mount + "'"))
            GTEST_SKIP() << "mount.exfat-fuse failed";
    }
    void TearDown() override {
        if (!loop.empty()) {
            [[maybe_unused]] const int status = std::system(("(fusermount -u '" + mount + "' || umount '" + mount + "'; losetup -d " +
                         loop + ") >/dev/null 2>&1")
                            .c_str());
        }
    }
};

TEST_F(ExfatCard, RenamesAndUndoesOnTheCard) {
    TempFolder journals;
    RenameAndUndoOn(mount, journals.path().string());
}

}  // namespace
}  // namespace corvelle
