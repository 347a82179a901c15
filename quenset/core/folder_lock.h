#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace corvelle {

// How long a rename or undo waits for another quenset to finish with the folder.
inline constexpr std::chrono::milliseconds kFolderLockWait{10000};
inline constexpr std::string_view kFolderBusyText = "another quenset is working on this folder";

// One quenset at a time renames or reverts in a folder: each holds this lock for its whole
// run, so two undos, or an undo and a rename, never interleave their marks in a journal, and
// a check for a free name stays true until the rename that follows it. The lock is a flock
// on a file kept with the journals, named by the folder's device and inode.
class FolderLock {
  public:
    // Waits up to `wait` for the lock of the folder open at `folderFd`. Without a journal
    // folder there is nothing to lock with, and nothing is locked.
    FolderLock(const std::string& journalFolder, int folderFd,
               std::chrono::milliseconds wait = kFolderLockWait);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Another quenset held the lock all the time it waited: the run must not go on.
    bool busy() const { return m_busy; }
    bool held() const { return m_fd >= 0; }
    // Why the lock could not be taken although nobody holds it (the run goes on without).
    const std::string& problem() const { return m_problem; }

  private:
    int m_fd = -1;
    bool m_busy = false;
    std::string m_problem;
};

}  // namespace corvelle
