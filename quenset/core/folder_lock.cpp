#include "core/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

#include "core/file_identity.h"

namespace corvelle {

namespace {

// The folder's path as a short name: FNV-1a over its bytes, the same in every build.
std::string PathKey(int folderFd) {
    char path[4096] = "";
    const std::string link = "/proc/self/fd/" + std::to_string(folderFd);
    const ssize_t length = readlink(link.c_str(), path, sizeof path - 1);
    uint64_t hash = 14695981039346656037ull;
    for (ssize_t i = 0; i < length; ++i) hash = (hash ^ uint8_t(path[i])) * 1099511628211ull;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace

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
    // Where inode numbers do not last, the folder is known by its path.
    const std::string key = HasStableInodes(folderFd)
                                ? std::to_string(folder->device) + "-" + std::to_string(folder->inode)
                                : "path-" + PathKey(folderFd);
    const std::string path = journalFolder + "/folder-" + key + ".lock";
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
