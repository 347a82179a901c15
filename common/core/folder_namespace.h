#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvelle {

// What the folder browser knows about one item of the folder hierarchy.
enum FolderAttribute : uint32_t {
    kFolderHasSubFolders = 1u << 0,       // show an expand button before the children are known
    kFolderFileSystem = 1u << 1,          // a real folder with a path
    kFolderFileSystemAncestor = 1u << 2,  // can contain real folders
    kFolderLink = 1u << 3,                // reached through a symbolic link
    kFolderLinkLoop = 1u << 4,            // a link back into its own ancestors: never opened
};

enum class FolderKind { Desktop, Home, Computer, Root, Volume, Folder };

struct FolderItem {
    std::string displayName;
    std::string path;  // absolute; empty for a virtual item
    uint32_t attributes = 0;
    FolderKind kind = FolderKind::Folder;

    bool has(uint32_t attribute) const { return (attributes & attribute) != 0; }
};

// The places the hierarchy starts from. The programs take them from the system; tests
// give a temporary hierarchy instead.
struct NamespaceRoots {
    std::string homeFolder;                    // shown as "Home"; empty for none
    std::vector<std::string> computerFolders;  // "/" and the mounted volumes, under "Computer"
};

inline constexpr std::string_view kHomeDisplayName = "Home";
inline constexpr std::string_view kComputerDisplayName = "Computer";

// The user's home folder, "/" and the volumes mounted under /media, /mnt and /run/media.
NamespaceRoots SystemNamespaceRoots();

// Mount points under /media, /mnt and /run/media in the text of /proc/self/mounts, in the
// order listed, each once, with the kernel's octal escapes (\040 for a space) undone.
std::vector<std::string> MountedVolumes(std::string_view mountsText);

// How to reach a folder from "Computer": the volume that holds it (of nested volumes the
// one mounted deepest) and the folder names below that volume's mount point. The path is
// made absolute and tidied first ("//", "." and ".." resolved by name, a trailing "/"
// dropped). No value when no volume holds the path.
struct FolderRoute {
    std::string volume;
    std::vector<std::string> components;
};
std::optional<FolderRoute> RouteFromComputer(const std::string& path,
                                             const std::vector<std::string>& volumes);

// Whether path is folder itself or lies below it, comparing whole components.
bool IsSameOrBelowFolder(std::string_view path, std::string_view folder);

// A lazily read folder hierarchy: the invisible desktop holds "Computer" and "Home";
// "Computer" holds the root and the volumes; every real folder holds its sub-folders.
// Nothing is read until a caller asks for an item's children.
class FolderNamespace {
  public:
    explicit FolderNamespace(NamespaceRoots roots);

    const NamespaceRoots& roots() const { return m_roots; }
    static FolderItem Desktop();

    // The item's sub-folders, unsorted. Hidden folders (names starting with ".") only when
    // asked for. No value when the folder cannot be read (gone, not a folder, no access);
    // a folder that fails part-way keeps what was read before the failure.
    std::optional<std::vector<FolderItem>> Children(const FolderItem& parent,
                                                    bool includeHidden) const;

    // Whether a readable folder holds at least one sub-folder that would be listed.
    static bool HasSubFolder(const std::string& path, bool includeHidden);

  private:
    std::vector<FolderItem> TopLevel() const;
    std::vector<FolderItem> ComputerChildren() const;

    NamespaceRoots m_roots;
};

}  // namespace corvelle
