#pragma once

#include <sys/types.h>

#include <ctime>
#include <optional>
#include <string>

namespace corvelle {

// What tells a file apart from one that later takes its name, or its inode number: ext4
// hands a deleted file's inode to the next file made. The birth time (where the file system
// keeps one) tells them apart; the size and last-write time serve where it does not.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    long long size = 0;
    timespec modified{};
    std::optional<timespec> birth;
    bool regular = false;
};

// The file `name` in the folder (not following a symbolic link); the folder itself for an
// empty name. None when it is not there or cannot be read (errno says why).
std::optional<FileStamp> StampAt(int dirFd, const std::string& name);

inline bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Whether the file system keeps a file's inode number while it is mounted. A FUSE file
// system (exFAT and FAT cards, often) may number a file anew whenever the kernel looks it
// up again.
bool HasStableInodes(int fd);

// Sets a file's last-write time and keeps its access time. The access time is given, not
// left out: exFAT through FUSE quietly ignores a change that leaves it out.
bool SetModifiedTime(int dirFd, const std::string& name, const timespec& modified);

// Times that may be unknown (birth times, say) as the journal writes them: "<seconds>
// <nanoseconds>", or "- -" for none.
std::string OptionalTimeText(const std::optional<timespec>& birth);

}  // namespace corvelle
