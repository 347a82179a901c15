#include "core/folder_namespace.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace corvelle {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kVolumeParents[] = {"/media", "/mnt", "/run/media"};

// Past this many entries without a sub-folder a folder is assumed to have one: the button
// may then vanish when it is opened, which is better than a slow tree.
constexpr int kSubFolderScanLimit = 4096;

constexpr uint32_t kRealFolderAttributes = kFolderFileSystem | kFolderFileSystemAncestor;

bool IsHiddenName(const std::string& name) { return !name.empty() && name[0] == '.'; }

// A link whose target is the folder it sits in or one of that folder's ancestors, by the
// way the user came or by where the folders really are, would nest itself without end.
bool LeadsIntoItsAncestors(const fs::path& linkPath, const fs::path& parentPath) {
    std::error_code ec;
    const fs::path target = fs::canonical(linkPath, ec);
    if (ec) return false;
    const std::string targetText = target.string();
    fs::path prefix;
    for (const fs::path& component : parentPath) {
        prefix /= component;
        const fs::path real = fs::canonical(prefix, ec);
        if (!ec && IsSameOrBelowFolder(real.string(), targetText)) return true;
    }
    return false;
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string LastComponent(const std::string& path) {
    if (path == "/") return path;
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const size_t slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

// The kernel writes space, tab, newline and backslash in mount points as \ooo.
std::string UnescapeMountField(std::string_view field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
            if (isOctal(field[i + 1]) && isOctal(field[i + 2]) && isOctal(field[i + 3])) {
                const int value =
                    (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
                if (value > 0 && value < 256) {
                    out.push_back(static_cast<char>(value));
                    i += 3;
                    continue;
                }
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return {};
}

}  // namespace

bool IsSameOrBelowFolder(std::string_view path, std::string_view folder) {
    if (folder.empty() || path.substr(0, folder.size()) != folder) return false;
    return path.size() == folder.size() || folder == "/" || path[folder.size()] == '/';
}

std::optional<FolderRoute> RouteFromComputer(const std::string& path,
                                             const std::vector<std::string>& volumes) {
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    if (ec) absolute = path;
    const std::string target = WithoutTrailingSlashes(absolute.lexically_normal().string());

    std::optional<FolderRoute> route;
    for (const std::string& volume : volumes) {
        const std::string mountPoint = WithoutTrailingSlashes(volume);
        if (!IsSameOrBelowFolder(target, mountPoint)) continue;
        if (route && WithoutTrailingSlashes(route->volume).size() >= mountPoint.size()) continue;
        route = FolderRoute{volume, {}};
    }
    if (!route) return std::nullopt;
    for (const fs::path& part :
         fs::path(target).lexically_relative(WithoutTrailingSlashes(route->volume))) {
        const std::string name = part.string();
        if (!name.empty() && name != ".") route->components.push_back(name);
    }
    return route;
}

std::vector<std::string> MountedVolumes(std::string_view mountsText) {
    std::vector<std::string> volumes;
    std::istringstream lines{std::string(mountsText)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint;
        if (!(fields >> device >> mountPoint)) continue;
        const std::string path = UnescapeMountField(mountPoint);
        const bool underVolumeParent =
            std::any_of(std::begin(kVolumeParents), std::end(kVolumeParents),
                        [&](std::string_view parent) { return IsSameOrBelowFolder(path, parent); });
        if (underVolumeParent && std::find(volumes.begin(), volumes.end(), path) == volumes.end())
            volumes.push_back(path);
    }
    return volumes;
}

NamespaceRoots SystemNamespaceRoots() {
    NamespaceRoots roots;
    roots.homeFolder = HomeFolder();
    roots.computerFolders.push_back("/");
    std::ifstream mounts("/proc/self/mounts");
    const std::string text((std::istreambuf_iterator<char>(mounts)),
                           std::istreambuf_iterator<char>());
    for (std::string& volume : MountedVolumes(text)) roots.computerFolders.push_back(volume);
    return roots;
}

FolderNamespace::FolderNamespace(NamespaceRoots roots) : m_roots(std::move(roots)) {}

FolderItem FolderNamespace::Desktop() {
    return {"", "", kFolderHasSubFolders | kFolderFileSystemAncestor, FolderKind::Desktop};
}

std::vector<FolderItem> FolderNamespace::TopLevel() const {
    std::vector<FolderItem> items;
    items.push_back({std::string(kComputerDisplayName), "",
                     kFolderHasSubFolders | kFolderFileSystemAncestor, FolderKind::Computer});
    if (!m_roots.homeFolder.empty()) {
        items.push_back({std::string(kHomeDisplayName), m_roots.homeFolder,
                         kRealFolderAttributes | kFolderHasSubFolders, FolderKind::Home});
    }
    return items;
}

// The root and the volumes get a button without being touched, so a slow or sleeping
// disk is only woken when the user opens it.
std::vector<FolderItem> FolderNamespace::ComputerChildren() const {
    std::vector<FolderItem> items;
    for (const std::string& path : m_roots.computerFolders) {
        const bool isRoot = path == "/";
        items.push_back({LastComponent(path), path, kRealFolderAttributes | kFolderHasSubFolders,
                         isRoot ? FolderKind::Root : FolderKind::Volume});
    }
    return items;
}

bool FolderNamespace::HasSubFolder(const std::string& path, bool includeHidden) {
    std::error_code ec;
    int examined = 0;
    for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        if (++examined > kSubFolderScanLimit) return true;
        if (!includeHidden && IsHiddenName(it->path().filename().string())) continue;
        std::error_code typeError;
        if (it->is_directory(typeError)) return true;
    }
    return false;
}

std::optional<std::vector<FolderItem>> FolderNamespace::Children(const FolderItem& parent,
                                                                 bool includeHidden) const {
    switch (parent.kind) {
        case FolderKind::Desktop:
            return TopLevel();
        case FolderKind::Computer:
            return ComputerChildren();
        default:
            break;
    }
    if (parent.path.empty()) return std::nullopt;
    if (parent.has(kFolderLinkLoop)) return std::vector<FolderItem>{};

    std::error_code ec;
    fs::directory_iterator it(parent.path, ec);
    if (ec) return std::nullopt;
    std::vector<FolderItem> items;
    for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const fs::path& childPath = it->path();
        std::string name = childPath.filename().string();
        if (!includeHidden && IsHiddenName(name)) continue;
        std::error_code typeError;
        if (!it->is_directory(typeError)) continue;

        FolderItem item{std::move(name), childPath.string(), kRealFolderAttributes,
                        FolderKind::Folder};
        if (it->is_symlink(typeError)) {
            item.attributes |= kFolderLink;
            if (LeadsIntoItsAncestors(childPath, parent.path)) item.attributes |= kFolderLinkLoop;
        }
        if (!item.has(kFolderLinkLoop) && HasSubFolder(item.path, includeHidden))
            item.attributes |= kFolderHasSubFolders;
        items.push_back(std::move(item));
    }
    return items;
}

}  // namespace corvelle
