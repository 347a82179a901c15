#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvelle {

// An open folder. All work on the folder's files goes through this descriptor and the *at
// calls, so the process's current directory is never changed and a folder that cannot be
// opened yields nothing rather than the files of some other folder.
class FolderHandle {
  public:
    explicit FolderHandle(const std::string& path);
    ~FolderHandle();
    FolderHandle(FolderHandle&& other) noexcept;
    FolderHandle& operator=(FolderHandle&& other) noexcept;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }

  private:
    int m_fd = -1;
};

// One file of a folder listing, with the time a name falls back on when it has no EXIF date.
struct ListedFile {
    std::string name;
    std::optional<std::time_t> created;  // creation time, else last-write time
};

// The folder's plain files whose names `wanted` takes: hidden files (name starting with
// "."), files without the owner's write permission, symbolic links and anything that is not
// a regular file are left out. Each taken name costs one look at the file, and the listing
// is the only one a preview makes, so a folder of many pictures is looked at once. Listing
// order.
std::vector<ListedFile> ListFolderFiles(int dirFd,
                                        const std::function<bool(std::string_view)>& wanted);

// Ascending by unsigned bytes, as strcmp orders (upper-case names before lower-case ones).
void SortByBytes(std::vector<ListedFile>& files);

}  // namespace corvelle
