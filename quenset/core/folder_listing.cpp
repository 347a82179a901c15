#include "core/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <utility>

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

std::vector<ListedFile> ListFolderFiles(int dirFd,
                                        const std::function<bool(std::string_view)>& wanted) {
    std::vector<ListedFile> files;
    // readdir consumes its descriptor; a fresh one keeps the caller's usable and rewound.
    const int listingFd = openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listingFd < 0) return files;
    DIR* directory = fdopendir(listingFd);
    if (directory == nullptr) {
        close(listingFd);
        return files;
    }
    while (const dirent* item = readdir(directory)) {
        const std::string_view name = item->d_name;
        if (name.empty() || name[0] == '.') continue;
        // The listing's own type spares a look at folders and links; some file systems give none.
        if (item->d_type != DT_UNKNOWN && item->d_type != DT_REG) continue;
        if (!wanted(name)) continue;
        struct statx status {};
        if (statx(dirFd, item->d_name, AT_SYMLINK_NOFOLLOW,
                  STATX_TYPE | STATX_MODE | STATX_BTIME | STATX_MTIME, &status) != 0)
            continue;
        if (!S_ISREG(status.stx_mode) || (status.stx_mode & S_IWUSR) == 0) continue;
        std::optional<std::time_t> created;
        if (status.stx_mask & STATX_BTIME)
            created = std::time_t(status.stx_btime.tv_sec);
        else if (status.stx_mask & STATX_MTIME)
            created = std::time_t(status.stx_mtime.tv_sec);
        files.push_back({std::string(name), created});
    }
    closedir(directory);
    return files;
}

void SortByBytes(std::vector<ListedFile>& files) {
    std::sort(files.begin(), files.end(), [](const ListedFile& a, const ListedFile& b) {
        return std::strcmp(a.name.c_str(), b.name.c_str()) < 0;
    });
}

}  // namespace corvelle
