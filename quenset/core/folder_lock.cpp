#include "core/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

#include "core/file_identity.h"

namespace corvelle {

FolderLock::FolderLock(const std::string& journalFolder, int folderFd,
                       std::chrono::milliseconds wait) {
    if (journalFolder.empty()) return;
    const std::optional<FileStamp> folder = StampAt(folderFd, "");
    if (!folder) {
        m_problem = std::string("cannot read the folder to lock it: ") + std::strerror(errno);
        return;
    }
    std::error_code ec;
    std::filesystem::create_directories(journalFolder, ec);
    const std::string path = journalFolder + "/folder-" + std::to_string(folder->device) + "-" +
                             std::to_string(folder->inode) + ".lock";
    m_fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        m_problem = "cannot open the lock " + path + ": " + std::strerror(errno);
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            continue;
        }
        m_busy = errno == EWOULDBLOCK;
        if (!m_busy) m_problem = "cannot lock " + path + ": " + std::strerror(errno);
        close(m_fd);
        m_fd = -1;
        return;
    }
}

FolderLock::~FolderLock() {
    if (m_fd >= 0) close(m_fd);  // closing lets go of the lock
}

}  // namespace corvelle
