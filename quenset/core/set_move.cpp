#include "core/set_move.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/file_identity.h"

namespace corvelle {

namespace {

int KernelRenameAt2(int fromFd, const char* from, int toFd, const char* to, unsigned flags) {
    return int(syscall(SYS_renameat2, fromFd, from, toFd, to, flags));
}

RenameAt2 g_renameAt2 = KernelRenameAt2;
LinkAt g_linkAt = linkat;

// Errors by which a file system says it has no hard links.
bool RefusesLinks(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK ||
           error == EXDEV;
}

}  // namespace

void SetRenameCallsForTesting(RenameAt2 rename, LinkAt link) {
    g_renameAt2 = rename ? rename : KernelRenameAt2;
    g_linkAt = link ? link : linkat;
}

bool RenameInLockedFolder(int dirFd, const std::string& from, const std::string& to) {
    if (g_renameAt2(dirFd, from.c_str(), dirFd, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // No no-replace rename here. A hard link fails on a taken name just the same.
    if (g_linkAt(dirFd, from.c_str(), dirFd, to.c_str(), 0) == 0) {
        if (unlinkat(dirFd, from.c_str(), 0) == 0) return true;
        const int saved = errno;
        unlinkat(dirFd, to.c_str(), 0);
        errno = saved;
        return false;
    }
    if (errno == EEXIST || !RefusesLinks(errno)) return false;
    // Neither: look, then rename. A name that differs from the file's own only in letter
    // case finds the file itself on a card, and may be taken.
    const std::optional<FileStamp> source = StampAt(dirFd, from);
    if (!source) return false;
    if (const std::optional<FileStamp> taken = StampAt(dirFd, to)) {
        if (taken->device != source->device || taken->inode != source->inode) {
            errno = EEXIST;
            return false;
        }
    } else if (errno != ENOENT) {
        return false;
    }
    return renameat(dirFd, from.c_str(), dirFd, to.c_str()) == 0;
}

SetMove MoveSet(int dirFd, const std::vector<NameChange>& changes) {
    SetMove result;
    result.underNewName.assign(changes.size(), false);
    for (size_t i = 0; i < changes.size(); ++i) {
        if (RenameInLockedFolder(dirFd, changes[i].from, changes[i].to)) {
            result.underNewName[i] = true;
            continue;
        }
        result.failedAt = i;
        result.error = errno;
        while (i-- > 0) {
            if (RenameInLockedFolder(dirFd, changes[i].to, changes[i].from)) {
                result.underNewName[i] = false;
                continue;
            }
            result.stuckText += "; " + changes[i].from + " keeps the name " + changes[i].to +
                                ": " + std::strerror(errno);
        }
        return result;
    }
    result.moved = true;
    return result;
}

}  // namespace corvelle
