#pragma once

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

// The names of the folder's plain files that match the pattern without regard to letter
// case: hidden files (name starting with "."), files without the owner's write permission,
// symbolic links and anything that is not a regular file are left out. Listing order.
std::vector<std::string> ListMatchingFiles(int dirFd, std::string_view pattern);

// Ascending by unsigned bytes, as strcmp orders (upper-case names before lower-case ones).
void SortByBytes(std::vector<std::string>& names);

}  // namespace corvelle
