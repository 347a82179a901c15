#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>

#include <filesystem>
#include <fstream>

#include "support/temp_folder.h"
#include "ui/shell_tree_ctrl.h"

namespace corvelle {
namespace {
namespace fs = std::filesystem;

const std::string kKorean = "\xEC\x82\xAC\xEC\xA7\x84";  // "사진"

// A temporary hierarchy standing in for the system: <temp>/home as "Home" and two volumes,
// <temp>/disk and <temp>/usb, under "Computer".
class FolderTreeTest : public ::testing::Test {
  protected:
    FolderTreeTest() {
        fs::create_directories(home());
        fs::create_directories(disk());
        fs::create_directories(usb());
    }

    fs::path home() const { return m_temp.path() / "home"; }
    fs::path disk() const { return m_temp.path() / "disk"; }
    fs::path usb() const { return m_temp.path() / "usb"; }
    NamespaceRoots roots() const { return {home().string(), {usb().string(), disk().string()}}; }

    std::unique_ptr<CShellTreeCtrl> MakeTree(const ShellTreeOptions& options) const {
        auto tree = std::make_unique<CShellTreeCtrl>(options, FolderNamespace(roots()));
        EXPECT_TRUE(tree->FillRoot());
        return tree;
    }

    static QTreeWidgetItem* Child(QTreeWidgetItem* parent, const std::string& name) {
        for (int i = 0; i < parent->childCount(); ++i)
            if (parent->child(i)->text(0).toStdString() == name) return parent->child(i);
        return nullptr;
    }

    static std::vector<std::string> ChildNames(QTreeWidgetItem* parent) {
        std::vector<std::string> names;
        for (int i = 0; i < parent->childCount(); ++i)
            names.push_back(parent->child(i)->text(0).toStdString());
        return names;
    }

    // Opens "Computer", then the disk volume, as a user would by clicking.
    static QTreeWidgetItem* OpenDisk(CShellTreeCtrl& tree) {
        QTreeWidgetItem* computer = tree.ComputerItem();
        computer->setExpanded(true);
        QTreeWidgetItem* item = Child(computer, "disk");
        if (item != nullptr) item->setExpanded(true);
        return item;
    }

    static std::string SelectedPath(const CShellTreeCtrl& tree) {
        const ShellFolderItem* record = tree.SelectedFolder();
        return record == nullptr ? "<none>" : record->folder.path;
    }

    void MakeMixedFolders() const {
        for (const std::string& name :
             std::initializer_list<std::string>{"beta", "Alpha", "gamma", "_under", ".hidden",
                                                "Zulu", kKorean, "\xC3\x89t\xC3\xA9"})
            fs::create_directories(disk() / name);
        std::ofstream(disk() / "aardvark.jpg") << "not a folder";
    }

    testing::TempFolder m_temp;
};

TEST_F(FolderTreeTest, TopLevelHoldsComputerAndHomeWithVolumesByName) {
    for (const ShellTreeOptions& options :
         {ShellTreeOptions::Quenset(), ShellTreeOptions::Brevoll(), ShellTreeOptions::Tiselk()}) {
        auto tree = MakeTree(options);
        ASSERT_EQ(tree->topLevelItemCount(), 2);
        EXPECT_EQ(tree->topLevelItem(0)->text(0), "Computer");
        EXPECT_EQ(tree->topLevelItem(1)->text(0), "Home");
        EXPECT_EQ(tree->topLevelItem(0)->childCount(), 0);  // nothing read yet
        EXPECT_EQ(tree->topLevelItem(0)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
        EXPECT_FALSE(tree->topLevelItem(0)->icon(0).isNull());
        tree->ComputerItem()->setExpanded(true);
        EXPECT_EQ(ChildNames(tree->ComputerItem()), (std::vector<std::string>{"disk", "usb"}));
    }
}

TEST_F(FolderTreeTest, QuensetOrdersNamesByFoldedAsciiWithoutHiddenFolders) {
    MakeMixedFolders();
    auto tree = MakeTree(ShellTreeOptions::Quenset());
    EXPECT_EQ(ChildNames(OpenDisk(*tree)),
              (std::vector<std::string>{"_under", "Alpha", "beta", "gamma", "Zulu",
                                        "\xC3\x89t\xC3\xA9", kKorean}));
}

TEST_F(FolderTreeTest, BrevollOrdersNamesByTheUsersLocale) {
    MakeMixedFolders();
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    auto tree = MakeTree(ShellTreeOptions::Brevoll());
    QLocale::setDefault(saved);
    const std::vector<std::string> names = ChildNames(OpenDisk(*tree));
    const auto at = [&](const std::string& name) {
        return std::find(names.begin(), names.end(), name) - names.begin();
    };
    ASSERT_EQ(names.size(), 7u);
    EXPECT_LT(at("Alpha"), at("beta"));
    EXPECT_LT(at("beta"), at("\xC3\x89t\xC3\xA9"));  // É sorts as E, not after Z
    EXPECT_LT(at("\xC3\x89t\xC3\xA9"), at("gamma"));
    EXPECT_LT(at("gamma"), at("Zulu"));
    EXPECT_EQ(std::count(names.begin(), names.end(), ".hidden"), 0);
}

TEST_F(FolderTreeTest, TiselkPutsNonAsciiNamesFirstShowsHiddenAndOrdersByPath) {
    MakeMixedFolders();
    auto tree = MakeTree(ShellTreeOptions::Tiselk());
    EXPECT_EQ(ChildNames(OpenDisk(*tree)),
              (std::vector<std::string>{"\xC3\x89t\xC3\xA9", kKorean, ".hidden", "_under", "Alpha",
                                        "beta", "gamma", "Zulu"}));
}

TEST_F(FolderTreeTest, NamesThatAreNotUtf8AreShownAsLatin1AndStillSelectable) {
    const std::string latin1 = "caf\xE9";
    fs::create_directories(disk() / latin1 / "x");
    auto tree = MakeTree(ShellTreeOptions::Brevoll());
    EXPECT_TRUE(tree->SelectFolderPath((disk() / latin1 / "x").string()));
    const QTreeWidgetItem* folder = tree->currentItem()->parent();
    EXPECT_EQ(folder->text(0), QString::fromUtf8("caf\xC3\xA9"));
    EXPECT_EQ(CShellTreeCtrl::RecordOf(folder)->folder.path, (disk() / latin1).string());
}

TEST_F(FolderTreeTest, NamesDifferingOnlyInCaseKeepOneOrder) {
    fs::create_directories(disk() / "photos");
    fs::create_directories(disk() / "Photos");
    auto tree = MakeTree(ShellTreeOptions::Quenset());
    EXPECT_EQ(ChildNames(OpenDisk(*tree)), (std::vector<std::string>{"Photos", "photos"}));
}

TEST_F(FolderTreeTest, BranchesAreReadOnceWhenFirstOpened) {
    fs::create_directories(disk() / "a" / "inner");
    fs::create_directories(disk() / "b");
    auto tree = MakeTree(ShellTreeOptions::Quenset());
    QTreeWidgetItem* diskItem = OpenDisk(*tree);
    QTreeWidgetItem* a = Child(diskItem, "a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->childCount(), 0);
    EXPECT_EQ(a->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    EXPECT_EQ(Child(diskItem, "b")->childIndicatorPolicy(),
              QTreeWidgetItem::DontShowIndicatorWhenChildless);

    // Changes after a branch was opened do not show, however often it is opened again.
    fs::create_directories(disk() / "c");
    fs::remove_all(disk() / "b");
    diskItem->setExpanded(false);
    diskItem->setExpanded(true);
    EXPECT_TRUE(tree->ExpandItem(diskItem));
    EXPECT_EQ(ChildNames(diskItem), (std::vector<std::string>{"a", "b"}));

    // A branch not yet opened is read as it is when opened.
    fs::create_directories(disk() / "a" / "later");
    a->setExpanded(true);
    EXPECT_EQ(ChildNames(a), (std::vector<std::string>{"inner", "later"}));
}

TEST_F(FolderTreeTest, TheExpandAllKeyOpensOnlyOneLevel) {
    fs::create_directories(disk() / "a" / "b" / "c");
    auto tree = MakeTree(ShellTreeOptions::Quenset());
    QTreeWidgetItem* diskItem = Child(tree->ComputerItem(), "disk");
    ASSERT_EQ(diskItem, nullptr);  // not read before "Computer" is opened
    tree->ComputerItem()->setExpanded(true);
    diskItem = Child(tree->ComputerItem(), "disk");
    tree->setCurrentItem(diskItem);
    QKeyEvent asterisk(QEvent::KeyPress, Qt::Key_Asterisk, Qt::KeypadModifier, "*");
    QApplication::sendEvent(tree.get(), &asterisk);
    EXPECT_TRUE(diskItem->isExpanded());
    QTreeWidgetItem* a = Child(diskItem, "a");
    ASSERT_NE(a, nullptr);
    EXPECT_FALSE(a->isExpanded());
    EXPECT_EQ(a->childCount(), 0);
}

TEST_F(FolderTreeTest, VanishedOrUnreadableFoldersOpenEmptyAndLoseTheirButton) {
    fs::create_directories(disk() / "gone" / "sub");
    fs::create_directories(disk() / "now-a-file" / "sub");
    auto tree = MakeTree(ShellTreeOptions::Quenset());
    QTreeWidgetItem* diskItem = OpenDisk(*tree);
    fs::remove_all(disk() / "gone");
    fs::remove_all(disk() / "now-a-file");
    std::ofstream(disk() / "now-a-file") << "x";

    for (const char* name : {"gone", "now-a-file"}) {
        QTreeWidgetItem* item = Child(diskItem, name);
        ASSERT_NE(item, nullptr) << name;
        EXPECT_FALSE(tree->ExpandItem(item)) << name;
        item->setExpanded(true);
        EXPECT_EQ(item->childCount(), 0) << name;
        EXPECT_EQ(item->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicatorWhenChildless);
    }
}

TEST_F(FolderTreeTest, LinkBackIntoItsAncestorsCannotBeOpened) {
    fs::create_directories(disk() / "a");
    fs::create_directory_symlink(disk(), disk() / "a" / "up");
    auto tree = MakeTree(ShellTreeOptions::Tiselk());
    QTreeWidgetItem* a = Child(OpenDisk(*tree), "a");
    a->setExpanded(true);
    QTreeWidgetItem* up = Child(a, "up");
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(up->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicatorWhenChildless);
    up->setExpanded(true);
    EXPECT_EQ(up->childCount(), 0);
}

TEST_F(FolderTreeTest, SelectFolderPathOpensEachLevelAndSelectsTheLast) {
    fs::create_directories(disk() / "Photos" / "2004" / "May");
    fs::create_directories(disk() / "Photos" / "2005");
    auto tree = MakeTree(ShellTreeOptions::Quenset());
    const fs::path target = disk() / "Photos" / "2004";
    EXPECT_TRUE(tree->SelectFolderPath(target.string()));
    EXPECT_EQ(SelectedPath(*tree), target.string());
    QTreeWidgetItem* selected = tree->selectedItems().value(0);
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(tree->currentItem(), selected);
    EXPECT_FALSE(selected->isExpanded());  // the last level is selected, not opened
    for (QTreeWidgetItem* up = selected->parent(); up != nullptr; up = up->parent())
        EXPECT_TRUE(up->isExpanded()) << up->text(0).toStdString();

    // Redundant separators and dot components name the same folder.
    const std::string untidy = disk().string() + "//Photos/./2005/../2004/";
    EXPECT_TRUE(tree->SelectFolderPath(untidy));
    EXPECT_EQ(SelectedPath(*tree), target.string());
}

TEST_F(FolderTreeTest, SelectFolderPathStopsAtTheDeepestFolderThatExists) {
    fs::create_directories(disk() / "Photos" / "2004");
    std::ofstream(disk() / "Photos" / "2004" / "dsc0001.jpg") << "x";
    fs::create_directories(disk() / "Photos" / ".cache" / "x");
    auto tree = MakeTree(ShellTreeOptions::Quenset());

    EXPECT_FALSE(tree->SelectFolderPath((disk() / "Photos" / "2004" / "dsc0001.jpg").string()));
    EXPECT_EQ(SelectedPath(*tree), (disk() / "Photos" / "2004").string());

    EXPECT_FALSE(tree->SelectFolderPath((disk() / "Photos" / "missing" / "deeper").string()));
    EXPECT_EQ(SelectedPath(*tree), (disk() / "Photos").string());

    // Quenset's tree has no hidden folders to walk through.
    EXPECT_FALSE(tree->SelectFolderPath((disk() / "Photos" / ".cache" / "x").string()));
    EXPECT_EQ(SelectedPath(*tree), (disk() / "Photos").string());

    // No volume holds the path: "Computer" itself.
    EXPECT_FALSE(tree->SelectFolderPath((m_temp.path() / "elsewhere" / "x").string()));
    EXPECT_EQ(tree->selectedItems().value(0), tree->ComputerItem());
}

TEST_F(FolderTreeTest, TiselkWalksThroughHiddenFoldersAndNestedVolumes) {
    fs::create_directories(disk() / ".cache" / "x");
    fs::create_directories(disk() / "mnt" / "card" / "DCIM");
    const NamespaceRoots nested{home().string(),
                                {disk().string(), (disk() / "mnt" / "card").string()}};
    CShellTreeCtrl tree(ShellTreeOptions::Tiselk(), FolderNamespace(nested));
    tree.FillRoot();

    EXPECT_TRUE(tree.SelectFolderPath((disk() / ".cache" / "x").string()));
    EXPECT_EQ(SelectedPath(tree), (disk() / ".cache" / "x").string());

    // The path lies on the card: it is found under the card's own volume item.
    EXPECT_TRUE(tree.SelectFolderPath((disk() / "mnt" / "card" / "DCIM").string()));
    QTreeWidgetItem* selected = tree.selectedItems().value(0);
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->parent()->text(0), "card");
    EXPECT_EQ(selected->parent()->parent(), tree.ComputerItem());
}

TEST_F(FolderTreeTest, RefillingDropsTheOldItemsAndEmptyPathSelectsComputer) {
    fs::create_directories(disk() / "a");
    auto tree = MakeTree(ShellTreeOptions::Brevoll());
    EXPECT_TRUE(tree->SelectFolderPath((disk() / "a").string()));
    EXPECT_TRUE(tree->FillRoot());
    EXPECT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->SelectedFolder(), nullptr);
    EXPECT_EQ(tree->ComputerItem()->childCount(), 0);

    EXPECT_TRUE(tree->SelectFolderPath(""));
    EXPECT_EQ(tree->selectedItems().value(0), tree->ComputerItem());
    EXPECT_TRUE(tree->ComputerItem()->isExpanded());
}

}  // namespace
}  // namespace corvelle
