#include "core/file_identity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <sys/sysmacros.h>

namespace corvelle {

std::optional<FileStamp> StampAt(int dirFd, const std::string& name) {
    struct statx status {};
    const int flags = AT_SYMLINK_NOFOLLOW | (name.empty() ? AT_EMPTY_PATH : 0);
    if (statx(dirFd, name.c_str(), flags, STATX_BASIC_STATS | STATX_BTIME, &status) != 0)
        return std::nullopt;
    FileStamp stamp;
    stamp.device = makedev(status.stx_dev_major, status.stx_dev_minor);
    stamp.inode = ino_t(status.stx_ino);
    stamp.size = static_cast<long long>(status.stx_size);
    stamp.modified = {std::time_t(status.stx_mtime.tv_sec), long(status.stx_mtime.tv_nsec)};
    if (status.stx_mask & STATX_BTIME)
        stamp.birth = timespec{std::time_t(status.stx_btime.tv_sec), long(status.stx_btime.tv_nsec)};
    stamp.regular = S_ISREG(status.stx_mode);
    return stamp;
}

bool HasStableInodes(int fd) {
    constexpr long kFuseMagic = 0x65735546;
    struct statfs status {};
    return fstatfs(fd, &status) != 0 || status.f_type != kFuseMagic;
}

bool SetModifiedTime(int dirFd, const std::string& name, const timespec& modified) {
    struct statx status {};
    if (statx(dirFd, name.c_str(), AT_SYMLINK_NOFOLLOW, STATX_ATIME, &status) != 0) return false;
    const timespec times[2] = {
        {std::time_t(status.stx_atime.tv_sec), long(status.stx_atime.tv_nsec)}, modified};
    return utimensat(dirFd, name.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

std::string OptionalTimeText(const std::optional<timespec>& birth) {
    if (!birth) return "- -";
    return std::to_string(static_cast<long long>(birth->tv_sec)) + " " +
           std::to_string(birth->tv_nsec);
}

}  // namespace corvelle
