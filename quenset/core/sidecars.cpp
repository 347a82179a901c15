#include "core/sidecars.h"

#include <algorithm>
#include <map>

#include "core/duplicate_numbering.h"
#include "core/folder_listing.h"

namespace corvelle {

namespace {

std::string_view Stem(std::string_view name) {
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? name : name.substr(0, dot);
}

std::string_view Extension(std::string_view name) {
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

std::string FoldedStem(std::string_view name) { return FoldCase(Stem(name)); }

}  // namespace

bool IsSidecarName(std::string_view name) {
    const std::string_view extension = Extension(name);
    return std::any_of(
        std::begin(kSidecarExtensions), std::end(kSidecarExtensions),
        [extension](std::string_view known) { return SameNameIgnoringCase(extension, known); });
}

std::vector<std::vector<std::string>> FindSidecars(int dirFd,
                                                   const std::vector<std::string>& pictures) {
    std::multimap<std::string, std::string> byStem;
    std::vector<std::string> names = ListMatchingFiles(dirFd, "*");
    SortByBytes(names);
    for (std::string& name : names)
        if (IsSidecarName(name)) byStem.emplace(FoldedStem(name), std::move(name));

    std::vector<std::vector<std::string>> sidecars(pictures.size());
    for (size_t i = 0; i < pictures.size() && !byStem.empty(); ++i) {
        const auto [first, last] = byStem.equal_range(FoldedStem(pictures[i]));
        for (auto it = first; it != last; ++it) sidecars[i].push_back(std::move(it->second));
        byStem.erase(first, last);
    }
    return sidecars;
}

std::string SidecarNewName(std::string_view pictureNewName, std::string_view sidecarName) {
    if (pictureNewName.empty()) return {};
    return std::string(Stem(pictureNewName)) + std::string(Extension(sidecarName));
}

}  // namespace corvelle
