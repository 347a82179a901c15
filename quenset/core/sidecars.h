#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/folder_listing.h"

namespace corvelle {

// Files that travel with a picture: same stem, one of these extensions in any letter case.
inline constexpr std::string_view kSidecarExtensions[] = {".xmp", ".aae", ".thm"};

bool IsSidecarName(std::string_view name);
// A file of another listed type than the pattern's: a raw file beside a JPEG, say.
bool IsCompanionType(std::string_view name, std::string_view pattern);

// A file that goes with a listed picture and takes its new name along.
struct Follower {
    std::string name;
    // A companion is a picture of another listed type with the same stem (the raw file of a
    // JPEG, say); a sidecar is a file of edits or a thumbnail, its own or its companion's.
    bool companion = false;
    // The part of the name that stands for its owner's (the picture's stem, or the picture's
    // or companion's whole name for "IMG_1.jpg.xmp"), and whose owner it is: the picture
    // (npos) or the follower at that index.
    size_t ownerLength = 0;
    size_t owner = std::string::npos;
    bool ownerWholeName = false;
};

// What goes with each listed picture, in the pictures' order, found among the folder's
// files (sorted by bytes): sidecars of the same stem ("IMG_1.xmp") or of the whole name
// ("IMG_1.jpg.xmp"), and, when asked for, companions of the other file types with their own
// whole-name sidecars. Names compare without regard to ASCII letter case; a file two
// pictures could claim goes with the first.
std::vector<std::vector<Follower>> FindFollowers(const std::vector<ListedFile>& folder,
                                                 const std::vector<std::string>& pictures,
                                                 std::string_view pattern, bool companions);

// The follower's new name: its owner's new stem or new name with the rest of its own name
// (a companion's extension in lower case, as every picture's); empty while the picture has
// no new name.
std::string FollowerNewName(const std::vector<Follower>& followers, size_t index,
                            std::string_view pictureNewName,
                            const std::vector<std::string>& followerNewNames);

}  // namespace corvelle
