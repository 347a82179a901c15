#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvelle {

// Files that travel with a picture: same stem, one of these extensions in any letter case.
inline constexpr std::string_view kSidecarExtensions[] = {".xmp", ".aae", ".thm"};

bool IsSidecarName(std::string_view name);

// The sidecars in the folder of each listed picture, in the pictures' order. Stems compare
// without regard to ASCII letter case; a sidecar two pictures could claim goes with the first.
std::vector<std::vector<std::string>> FindSidecars(int dirFd,
                                                   const std::vector<std::string>& pictures);

// The picture's new stem with the sidecar's own extension; empty when the picture has no new
// name.
std::string SidecarNewName(std::string_view pictureNewName, std::string_view sidecarName);

}  // namespace corvelle
