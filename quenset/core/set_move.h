#pragma once

#include <string>
#include <vector>

namespace corvelle {

// Renames within the folder without ever replacing a file. Where the file system refuses
// the no-replace rename (exFAT and FAT cards through FUSE say EINVAL, and take no hard
// links either) it looks first and renames after: safe only because the caller holds the
// folder's lock, so no other quenset can take the name in between. On failure errno says
// why (EEXIST when the name is taken).
bool RenameInLockedFolder(int dirFd, const std::string& from, const std::string& to);

// Tests stand in for the kernel's renameat2 and linkat here, to see the fallback taken on a
// file system that refuses them; null puts the kernel's back.
using RenameAt2 = int (*)(int, const char*, int, const char*, unsigned);
using LinkAt = int (*)(int, const char*, int, const char*, int);
void SetRenameCallsForTesting(RenameAt2 rename, LinkAt link);

struct NameChange {
    std::string from;
    std::string to;
};

// What became of a set moved all or nothing.
struct SetMove {
    bool moved = false;
    size_t failedAt = 0;  // the change that failed, when not moved
    int error = 0;        // its errno
    // Per change: whether the file is under its new name now. All after a move; after a
    // failure, those whose way back failed too.
    std::vector<bool> underNewName;
    std::string stuckText;  // "; X could not be given back its name: reason", when any
};

// Renames the changes in order. When one fails, those already renamed go back, last
// first, and what could not go back is said.
SetMove MoveSet(int dirFd, const std::vector<NameChange>& changes);

}  // namespace corvelle
