#include "core/folder_order.h"

#include "core/text.h"

namespace corvelle {

namespace {

constexpr int kAncestorKey = 100;
constexpr int kOtherKey = 200;
constexpr int kNonAsciiBonus = 50;

unsigned char FoldAscii(char c) { return static_cast<unsigned char>(AsciiLower(c)); }

bool NameStartsWithNonAscii(std::string_view path) {
    const size_t slash = path.rfind('/');
    const size_t first = slash == std::string_view::npos ? 0 : slash + 1;
    return first < path.size() && static_cast<unsigned char>(path[first]) >= 0x80;
}

}  // namespace

int FolderSortKey(const FolderItem& item, FolderSortRule rule) {
    switch (rule) {
        case FolderSortRule::AncestorsFirst:
            return item.has(kFolderFileSystemAncestor) ? kAncestorKey : kOtherKey;
        case FolderSortRule::NonAsciiNamesFirst: {
            int key = item.has(kFolderFileSystemAncestor) || !item.path.empty() ? kAncestorKey
                                                                                : kOtherKey;
            if (NameStartsWithNonAscii(item.path)) key -= kNonAsciiBonus;
            return key;
        }
    }
    return kOtherKey;
}

int CompareAsciiNoCase(std::string_view a, std::string_view b) {
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        const int difference = FoldAscii(a[i]) - FoldAscii(b[i]);
        if (difference != 0) return difference;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace corvelle
