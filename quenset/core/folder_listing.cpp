#include "core/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/text.h"

namespace corvelle {

FolderHandle::FolderHandle(const std::string& path)
    : m_fd(path.empty() ? -1 : open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}

FolderHandle::~FolderHandle() {
    if (m_fd >= 0) close(m_fd);
}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

std::vector<std::string> ListMatchingFiles(int dirFd, std::string_view pattern) {
    std::vector<std::string> names;
    // readdir consumes its descriptor; a fresh one keeps the caller's usable and rewound.
    const int listingFd = openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listingFd < 0) return names;
    DIR* directory = fdopendir(listingFd);
    if (directory == nullptr) {
        close(listingFd);
        return names;
    }
    while (const dirent* item = readdir(directory)) {
        const std::string_view name = item->d_name;
        if (name.empty() || name[0] == '.') continue;
        if (!MatchesFilePattern(name, pattern)) continue;
        struct stat status {};
        if (fstatat(dirFd, item->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(status.st_mode) || (status.st_mode & S_IWUSR) == 0) continue;
        names.emplace_back(name);
    }
    closedir(directory);
    return names;
}

void SortByBytes(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return std::strcmp(a.c_str(), b.c_str()) < 0;
    });
}

}  // namespace corvelle
