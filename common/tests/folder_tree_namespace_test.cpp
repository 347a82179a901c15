#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "core/folder_namespace.h"
#include "core/folder_order.h"
#include "support/temp_folder.h"

namespace corvelle {
namespace {
namespace fs = std::filesystem;

std::vector<std::string> Names(const std::vector<FolderItem>& items) {
    std::vector<std::string> names;
    for (const FolderItem& item : items) names.push_back(item.displayName);
    std::sort(names.begin(), names.end());
    return names;
}

const FolderItem* Find(const std::vector<FolderItem>& items, const std::string& name) {
    for (const FolderItem& item : items)
        if (item.displayName == name) return &item;
    return nullptr;
}

FolderItem RealFolder(const fs::path& path) {
    return {path.filename().string(), path.string(), kFolderFileSystem | kFolderFileSystemAncestor,
            FolderKind::Folder};
}

void Touch(const fs::path& path) { std::ofstream(path) << "x"; }

TEST(MountedVolumes, KeepsOnlyVolumeFoldersOnceWithEscapesUndone) {
    const std::string mounts =
        "/dev/vda / ext4 rw,relatime 0 0\n"
        "proc /proc proc rw 0 0\n"
        "/dev/sdb1 /media/anna/USB\\040STICK vfat rw 0 0\n"
        "/dev/sdc1 /run/media/anna/Photos\\0402004 ext4 rw 0 0\n"
        "/dev/sdd1 /mnt ext4 rw 0 0\n"
        "/dev/sdd2 /mnt/backup ext4 rw 0 0\n"
        "/dev/sdd2 /mnt/backup ext4 rw 0 0\n"
        "/dev/sde1 /mediathek ext4 rw 0 0\n"
        "/dev/sdf1 /home/anna/media ext4 rw 0 0\n"
        "tmpfs /media/a\\134b\\011c tmpfs rw 0 0\n"
        "broken-line-without-mount-point\n"
        "\n";
    EXPECT_EQ(MountedVolumes(mounts),
              (std::vector<std::string>{"/media/anna/USB STICK", "/run/media/anna/Photos 2004",
                                        "/mnt", "/mnt/backup", "/media/a\\b\tc"}));
    EXPECT_TRUE(MountedVolumes("").empty());
}

TEST(FolderNamespace, TopLevelAndComputerAreGivenWithoutTouchingTheDisks) {
    const FolderNamespace folders({"/nonexistent/home", {"/", "/nonexistent/media/USB STICK/"}});
    const auto top = folders.Children(FolderNamespace::Desktop(), false);
    ASSERT_TRUE(top);
    EXPECT_EQ(Names(*top), (std::vector<std::string>{"Computer", "Home"}));
    const FolderItem* computer = Find(*top, "Computer");
    EXPECT_TRUE(computer->path.empty());
    EXPECT_TRUE(computer->has(kFolderFileSystemAncestor));
    EXPECT_FALSE(computer->has(kFolderFileSystem));
    EXPECT_EQ(Find(*top, "Home")->path, "/nonexistent/home");

    // The volume does not exist, yet it is listed with a button: it was never looked at.
    const auto volumes = folders.Children(*computer, false);
    ASSERT_TRUE(volumes);
    ASSERT_EQ(volumes->size(), 2u);
    EXPECT_EQ((*volumes)[0].displayName, "/");
    EXPECT_EQ((*volumes)[0].kind, FolderKind::Root);
    EXPECT_EQ((*volumes)[1].displayName, "USB STICK");
    EXPECT_EQ((*volumes)[1].kind, FolderKind::Volume);
    EXPECT_TRUE((*volumes)[1].has(kFolderHasSubFolders));

    const FolderNamespace noHome({"", {"/"}});
    EXPECT_EQ(Names(*noHome.Children(FolderNamespace::Desktop(), false)),
              (std::vector<std::string>{"Computer"}));
}

TEST(FolderNamespace, ListsSubFoldersOnlyWithHiddenOnesOnRequest) {
    testing::TempFolder temp;
    const fs::path root = temp.path();
    fs::create_directories(root / "Photos" / "2004");
    fs::create_directories(root / "empty");
    fs::create_directories(root / "only-files");
    Touch(root / "only-files" / "a.jpg");
    fs::create_directories(root / "only-hidden" / ".thumbnails");
    fs::create_directories(root / ".config" / "app");
    Touch(root / "picture.jpg");

    const FolderNamespace folders({"", {}});
    const auto shown = folders.Children(RealFolder(root), false);
    ASSERT_TRUE(shown);
    EXPECT_EQ(Names(*shown),
              (std::vector<std::string>{"Photos", "empty", "only-files", "only-hidden"}));
    EXPECT_TRUE(Find(*shown, "Photos")->has(kFolderHasSubFolders));
    EXPECT_FALSE(Find(*shown, "empty")->has(kFolderHasSubFolders));
    EXPECT_FALSE(Find(*shown, "only-files")->has(kFolderHasSubFolders));
    EXPECT_FALSE(Find(*shown, "only-hidden")->has(kFolderHasSubFolders));
    EXPECT_EQ(Find(*shown, "Photos")->path, (root / "Photos").string());
    EXPECT_TRUE(Find(*shown, "Photos")->has(kFolderFileSystem | kFolderFileSystemAncestor));

    const auto all = folders.Children(RealFolder(root), true);
    ASSERT_TRUE(all);
    EXPECT_EQ(Names(*all), (std::vector<std::string>{".config", "Photos", "empty", "only-files",
                                                     "only-hidden"}));
    EXPECT_TRUE(Find(*all, "only-hidden")->has(kFolderHasSubFolders));
}

TEST(FolderNamespace, UnreadableOrVanishedFoldersHaveNoChildren) {
    testing::TempFolder temp;
    const fs::path root = temp.path();
    Touch(root / "not-a-folder");
    const FolderNamespace folders({"", {}});
    EXPECT_FALSE(folders.Children(RealFolder(root / "gone"), false));
    EXPECT_FALSE(folders.Children(RealFolder(root / "not-a-folder"), false));
    EXPECT_FALSE(folders.Children({"x", "", 0, FolderKind::Folder}, false));
    EXPECT_FALSE(FolderNamespace::HasSubFolder((root / "gone").string(), true));

    // A dangling link is not a folder and is left out.
    fs::create_directory_symlink(root / "nowhere", root / "dangling");
    const auto children = folders.Children(RealFolder(root), true);
    ASSERT_TRUE(children);
    EXPECT_TRUE(children->empty());
}

TEST(FolderNamespace, LinksIntoTheirOwnAncestorsAreShownButNeverOpened) {
    testing::TempFolder temp;
    const fs::path root = temp.path();
    fs::create_directories(root / "x" / "inner");
    fs::create_directories(root / "y" / "sub");
    fs::create_directory_symlink(root, root / "x" / "to-top");
    fs::create_directory_symlink(root / "x", root / "x" / "to-self");
    fs::create_directory_symlink(root / "y", root / "x" / "to-y");
    fs::create_directory_symlink(root / "x", root / "y" / "back-to-x");

    const FolderNamespace folders({"", {}});
    const auto inX = folders.Children(RealFolder(root / "x"), false);
    ASSERT_TRUE(inX);
    EXPECT_EQ(Names(*inX), (std::vector<std::string>{"inner", "to-self", "to-top", "to-y"}));
    for (const char* loop : {"to-top", "to-self"}) {
        const FolderItem* item = Find(*inX, loop);
        EXPECT_TRUE(item->has(kFolderLink | kFolderLinkLoop)) << loop;
        EXPECT_FALSE(item->has(kFolderHasSubFolders)) << loop;
        const auto children = folders.Children(*item, false);
        ASSERT_TRUE(children);
        EXPECT_TRUE(children->empty()) << loop;
    }

    // A link to a sibling opens; the link there back to where the user came from does not.
    const FolderItem* toY = Find(*inX, "to-y");
    EXPECT_TRUE(toY->has(kFolderLink));
    EXPECT_FALSE(toY->has(kFolderLinkLoop));
    EXPECT_TRUE(toY->has(kFolderHasSubFolders));
    const auto inY = folders.Children(*toY, false);
    ASSERT_TRUE(inY);
    const FolderItem* back = Find(*inY, "back-to-x");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->path, (root / "x" / "to-y" / "back-to-x").string());
    EXPECT_TRUE(back->has(kFolderLinkLoop));
}

TEST(RouteFromComputer, TakesTheDeepestVolumeAndTidiesThePath) {
    const std::vector<std::string> volumes{"/", "/media/anna/USB", "/media/anna/USB/inner/"};
    using Components = std::vector<std::string>;

    auto route = RouteFromComputer("/home//anna/./Photos/../Pictures/", volumes);
    ASSERT_TRUE(route);
    EXPECT_EQ(route->volume, "/");
    EXPECT_EQ(route->components, (Components{"home", "anna", "Pictures"}));

    route = RouteFromComputer("/media/anna/USB/DCIM", volumes);
    ASSERT_TRUE(route);
    EXPECT_EQ(route->volume, "/media/anna/USB");
    EXPECT_EQ(route->components, Components{"DCIM"});

    route = RouteFromComputer("/media/anna/USB/inner", volumes);
    ASSERT_TRUE(route);
    EXPECT_EQ(route->volume, "/media/anna/USB/inner/");
    EXPECT_TRUE(route->components.empty());

    // A name that merely begins like a mount point is not on that volume.
    route = RouteFromComputer("/media/anna/USB2/x", volumes);
    ASSERT_TRUE(route);
    EXPECT_EQ(route->volume, "/");

    EXPECT_FALSE(RouteFromComputer("/media/anna/USB2/x", {"/media/anna/USB"}));
    EXPECT_FALSE(RouteFromComputer("/x", {}));

    // A relative path is taken from the current folder.
    route = RouteFromComputer("sub", {"/"});
    ASSERT_TRUE(route);
    Components expected;
    for (const fs::path& part : fs::current_path().relative_path() / "sub")
        expected.push_back(part.string());
    EXPECT_EQ(route->components, expected);
}

TEST(FolderOrder, SortKeysClassItemsAsEachTreeDoes) {
    const FolderItem folder{"Photos", "/home/a/Photos",
                            kFolderFileSystem | kFolderFileSystemAncestor, FolderKind::Folder};
    const FolderItem korean{"\xEC\x82\xAC\xEC\xA7\x84", "/home/a/\xEC\x82\xAC\xEC\xA7\x84",
                            kFolderFileSystem | kFolderFileSystemAncestor, FolderKind::Folder};
    const FolderItem computer{"Computer", "", kFolderFileSystemAncestor, FolderKind::Computer};
    const FolderItem pathOnly{"odd", "/odd", 0, FolderKind::Folder};
    const FolderItem virtualItem{"Trash", "", 0, FolderKind::Folder};
    const FolderItem root{"/", "/", kFolderFileSystem | kFolderFileSystemAncestor,
                          FolderKind::Root};

    EXPECT_EQ(FolderSortKey(folder, FolderSortRule::AncestorsFirst), 100);
    EXPECT_EQ(FolderSortKey(korean, FolderSortRule::AncestorsFirst), 100);
    EXPECT_EQ(FolderSortKey(computer, FolderSortRule::AncestorsFirst), 100);
    EXPECT_EQ(FolderSortKey(pathOnly, FolderSortRule::AncestorsFirst), 200);
    EXPECT_EQ(FolderSortKey(virtualItem, FolderSortRule::AncestorsFirst), 200);

    EXPECT_EQ(FolderSortKey(folder, FolderSortRule::NonAsciiNamesFirst), 100);
    EXPECT_EQ(FolderSortKey(korean, FolderSortRule::NonAsciiNamesFirst), 50);
    EXPECT_EQ(FolderSortKey(computer, FolderSortRule::NonAsciiNamesFirst), 100);
    EXPECT_EQ(FolderSortKey(pathOnly, FolderSortRule::NonAsciiNamesFirst), 100);
    EXPECT_EQ(FolderSortKey(virtualItem, FolderSortRule::NonAsciiNamesFirst), 200);
    EXPECT_EQ(FolderSortKey(root, FolderSortRule::NonAsciiNamesFirst), 100);
}

TEST(FolderOrder, AsciiFoldingIgnoresCaseOfLatinLettersOnly) {
    EXPECT_EQ(CompareAsciiNoCase("Photos", "pHOTOS"), 0);
    EXPECT_LT(CompareAsciiNoCase("alpha", "Beta"), 0);
    EXPECT_GT(CompareAsciiNoCase("Zeta", "alpha"), 0);
    EXPECT_LT(CompareAsciiNoCase("Photo", "photos"), 0);
    EXPECT_LT(CompareAsciiNoCase("_x", "a"), 0);  // '_' sits between the upper and lower case
    EXPECT_GT(CompareAsciiNoCase("\xC3\x89t\xC3\xA9", "zoo"), 0);  // bytes above 127 last
    EXPECT_NE(CompareAsciiNoCase("\xC3\x89", "\xC3\xA9"), 0);      // É and é are not folded
}

}  // namespace
}  // namespace corvelle
