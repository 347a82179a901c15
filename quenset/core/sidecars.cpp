#include "core/sidecars.h"

#include <algorithm>
#include <map>

#include "core/duplicate_numbering.h"
#include "core/folder_listing.h"
#include "core/name_settings.h"
#include "core/text.h"

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

// Takes the folder's files whose folded stem is `key` out of the table.
std::vector<std::string> Claim(std::multimap<std::string, std::string>& byStem,
                               const std::string& key) {
    std::vector<std::string> names;
    const auto [first, last] = byStem.equal_range(key);
    for (auto it = first; it != last; ++it) names.push_back(std::move(it->second));
    byStem.erase(first, last);
    return names;
}

}  // namespace

bool IsCompanionType(std::string_view name, std::string_view pattern) {
    if (MatchesFilePattern(name, pattern)) return false;
    return std::any_of(kFileTypes.begin(), kFileTypes.end(),
                       [name](std::string_view type) { return MatchesFilePattern(name, type); });
}

bool IsSidecarName(std::string_view name) {
    const std::string_view extension = Extension(name);
    return std::any_of(
        std::begin(kSidecarExtensions), std::end(kSidecarExtensions),
        [extension](std::string_view known) { return SameNameIgnoringCase(extension, known); });
}

std::vector<std::vector<Follower>> FindFollowers(const std::vector<ListedFile>& folder,
                                                 const std::vector<std::string>& pictures,
                                                 std::string_view pattern, bool companions) {
    // By folded stem: the sidecars, and the files of the other types.
    std::multimap<std::string, std::string> sidecars, others;
    for (const ListedFile& file : folder) {
        if (IsSidecarName(file.name))
            sidecars.emplace(FoldCase(Stem(file.name)), file.name);
        else if (companions && IsCompanionType(file.name, pattern))
            others.emplace(FoldCase(Stem(file.name)), file.name);
    }

    std::vector<std::vector<Follower>> followers(pictures.size());
    for (size_t i = 0; i < pictures.size(); ++i) {
        const std::string& picture = pictures[i];
        std::vector<Follower>& found = followers[i];
        const std::string stem = FoldCase(Stem(picture));
        for (std::string& name : Claim(sidecars, stem))
            found.push_back({std::move(name), false, Stem(picture).size()});
        // Darktable's "IMG_1.jpg.xmp": the picture's whole name and ".xmp".
        for (std::string& name : Claim(sidecars, FoldCase(picture)))
            found.push_back({std::move(name), false, picture.size(), std::string::npos, true});
        if (!companions) continue;
        for (std::string& name : Claim(others, stem)) {
            const size_t owner = found.size();
            found.push_back({name, true, Stem(name).size()});
            for (std::string& own : Claim(sidecars, FoldCase(name)))
                found.push_back({std::move(own), false, name.size(), owner, true});
        }
    }
    return followers;
}

std::string FollowerNewName(const std::vector<Follower>& followers, size_t index,
                            std::string_view pictureNewName,
                            const std::vector<std::string>& followerNewNames) {
    if (pictureNewName.empty() || index >= followers.size()) return {};
    const Follower& follower = followers[index];
    std::string_view ownerNew = pictureNewName;
    if (follower.owner != std::string::npos) {
        if (follower.owner >= followerNewNames.size()) return {};
        ownerNew = followerNewNames[follower.owner];
    }
    const std::string_view prefix = follower.ownerWholeName ? ownerNew : Stem(ownerNew);
    const std::string rest = follower.name.substr(std::min(follower.ownerLength, follower.name.size()));
    // A companion is a picture like the one it goes with: its extension in lower case too.
    return std::string(prefix) + (follower.companion ? FoldCase(rest) : rest);
}

}  // namespace corvelle
