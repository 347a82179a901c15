#pragma once

#include <string_view>

#include "core/folder_namespace.h"

namespace corvelle {

// How a folder tree classes its items before names decide.
enum class FolderSortRule {
    // 100 for items that can contain real folders, 200 for the rest. (Volumes order by
    // name: there are no drive letters to order them by.)
    AncestorsFirst,
    // 100 for items that can contain real folders or have a path, 200 for the rest, and 50
    // less for a folder whose name starts with a non-ASCII character, so that Korean
    // names come before Latin ones.
    NonAsciiNamesFirst,
};

int FolderSortKey(const FolderItem& item, FolderSortRule rule);

// Byte-wise comparison with only the ASCII letters folded to lower case: negative, zero or
// positive as a goes before, with or after b.
int CompareAsciiNoCase(std::string_view a, std::string_view b);

}  // namespace corvelle
