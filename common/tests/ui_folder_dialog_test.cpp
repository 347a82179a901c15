#include <gtest/gtest.h>

#include <QPushButton>

#include <filesystem>

#include "core/settings_store.h"
#include "support/temp_folder.h"
#include "ui/control_id.h"
#include "ui/dialog_units.h"
#include "ui/folder_pick_dlg.h"
#include "ui/folder_resource_ids.h"

namespace corvelle {
namespace {
namespace fs = std::filesystem;

// Each test keeps its values in a program file of its own so that tests do not meet.
class FolderDialogTest : public ::testing::Test {
  protected:
    FolderDialogTest()
        : m_location{"CorvelleTest",
                     ::testing::UnitTest::GetInstance()->current_test_info()->name()},
          m_store(m_location) {
        fs::create_directories(disk() / "Photos" / "2004");
        fs::create_directories(disk() / "Photos" / "2005");
        fs::create_directories(disk() / "Work");
    }

    fs::path disk() const { return m_temp.path() / "disk"; }
    std::string path(const std::string& below) const { return (disk() / below).string(); }
    FolderNamespace folders() const { return FolderNamespace({"", {disk().string()}}); }

    std::unique_ptr<CFolderPickDlg> OpenQuensetDialog() {
        return std::make_unique<CFolderPickDlg>(FolderPickStyle::Quenset(), m_store,
                                                std::string(kQuensetFolderSection),
                                                std::string(kQuensetFolderValue), folders());
    }

    // What another reader of the settings finds now.
    std::string Stored(std::string_view section, std::string_view value) const {
        return SettingsStore(m_location).readString(section, value, "<missing>");
    }
    std::string StoredRecentPath() const {
        return Stored(kQuensetFolderSection, kQuensetFolderValue);
    }

    static void Select(CFolderPickDlg& dialog, const std::string& folder) {
        ASSERT_TRUE(dialog.tree()->SelectFolderPath(folder)) << folder;
    }

    testing::TempFolder m_temp;
    SettingsLocation m_location;
    SettingsStore m_store;
};

TEST_F(FolderDialogTest, EachProgramHasItsCaptionTextsAndIds) {
    struct Expected {
        FolderPickStyle style;
        const char* caption;
        const char* ok;
        const char* cancel;
        int dialogId;
        int treeId;
    };
    for (const Expected& expected :
         {Expected{FolderPickStyle::Quenset(), "폴더 찾아보기", "확인", "취소",
                   IDD_QUENSET_FOLDER_PICK, IDC_QUENSET_FOLDER_TREE},
          Expected{FolderPickStyle::Brevoll(), "Choose Folder", "OK", "Cancel",
                   IDD_BREVOLL_FOLDER_PICK, IDC_BREVOLL_FOLDER_TREE}}) {
        CFolderPickDlg dialog(expected.style, m_store, "Config", "Recent Path", folders());
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(expected.caption));
        EXPECT_EQ(ControlId(&dialog), expected.dialogId);
        EXPECT_EQ(FindControl<CShellTreeCtrl>(&dialog, expected.treeId), dialog.tree());
        auto* ok = FindControl<QPushButton>(&dialog, IDOK);
        auto* cancel = FindControl<QPushButton>(&dialog, IDCANCEL);
        ASSERT_NE(ok, nullptr);
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(ok->text(), QString::fromUtf8(expected.ok));
        EXPECT_EQ(cancel->text(), QString::fromUtf8(expected.cancel));
        EXPECT_TRUE(ok->isDefault());

        // Laid out as the template: everything inside the dialog, the buttons side by side
        // under the tree.
        EXPECT_EQ(dialog.size(), DialogUnitsToPixels(QSize(211, 181), dialog.font()));
        const QRect inside = dialog.rect();
        EXPECT_TRUE(inside.contains(dialog.tree()->geometry()));
        EXPECT_TRUE(inside.contains(ok->geometry()));
        EXPECT_TRUE(inside.contains(cancel->geometry()));
        EXPECT_GT(ok->geometry().top(), dialog.tree()->geometry().bottom());
        EXPECT_LT(ok->geometry().right(), cancel->geometry().left());
    }
}

TEST_F(FolderDialogTest, StartsOnTheStoredFolderWithOkDisabled) {
    m_store.writeString(kQuensetFolderSection, kQuensetFolderValue, path("Photos/2004"));
    auto dialog = OpenQuensetDialog();
    const ShellFolderItem* selected = dialog->tree()->SelectedFolder();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->folder.path, path("Photos/2004"));
    EXPECT_FALSE(dialog->okButton()->isEnabled());
    EXPECT_EQ(StoredRecentPath(), path("Photos/2004"));
}

TEST_F(FolderDialogTest, WithNothingStoredNothingIsSelected) {
    auto dialog = OpenQuensetDialog();
    EXPECT_EQ(dialog->tree()->SelectedFolder(), nullptr);
    EXPECT_FALSE(dialog->okButton()->isEnabled());
    EXPECT_EQ(StoredRecentPath(), "<missing>");
}

TEST_F(FolderDialogTest, TheStoredValueFollowsTheSelectionAndSurvivesCancel) {
    m_store.writeString(kQuensetFolderSection, kQuensetFolderValue, path("Photos/2004"));
    auto dialog = OpenQuensetDialog();

    Select(*dialog, path("Photos/2005"));
    EXPECT_EQ(StoredRecentPath(), path("Photos/2005"));
    EXPECT_TRUE(dialog->okButton()->isEnabled());

    Select(*dialog, path("Work"));
    EXPECT_EQ(StoredRecentPath(), path("Work"));
    EXPECT_TRUE(dialog->okButton()->isEnabled());

    // "Computer" has no path: the empty text is stored.
    dialog->tree()->setCurrentItem(dialog->tree()->ComputerItem());
    EXPECT_EQ(StoredRecentPath(), "");
    EXPECT_TRUE(dialog->okButton()->isEnabled());

    Select(*dialog, path("Photos"));
    dialog->cancelButton()->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(StoredRecentPath(), path("Photos"));
}

TEST_F(FolderDialogTest, OkAcceptsWithTheChosenFolderStored) {
    auto dialog = OpenQuensetDialog();
    Select(*dialog, path("Work"));
    ASSERT_TRUE(dialog->okButton()->isEnabled());
    dialog->okButton()->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(StoredRecentPath(), path("Work"));
}

TEST_F(FolderDialogTest, AFolderThatVanishedIsNotStored) {
    m_store.writeString(kQuensetFolderSection, kQuensetFolderValue, path("Photos/2004"));
    auto dialog = OpenQuensetDialog();
    Select(*dialog, path("Photos/2005"));
    fs::remove_all(disk() / "Work");
    QTreeWidgetItem* work = dialog->tree()->currentItem()->parent()->parent()->child(1);
    ASSERT_EQ(work->text(0), "Work");
    dialog->tree()->setCurrentItem(work);
    EXPECT_EQ(StoredRecentPath(), path("Photos/2005"));
    EXPECT_TRUE(dialog->okButton()->isEnabled());
}

TEST_F(FolderDialogTest, AStoredFolderThatIsGoneOpensAtItsDeepestExistingFolder) {
    m_store.writeString(kQuensetFolderSection, kQuensetFolderValue, path("Photos/1999/Trip"));
    auto dialog = OpenQuensetDialog();
    EXPECT_EQ(dialog->tree()->SelectedFolder()->folder.path, path("Photos"));
    EXPECT_FALSE(dialog->okButton()->isEnabled());
    // The value followed the selection there, as it follows every selection.
    EXPECT_EQ(StoredRecentPath(), path("Photos"));
}

TEST_F(FolderDialogTest, BrevollKeepsSourceAndDestinationApart) {
    m_store.writeString(kBrevollFolderSection, kBrevollDestFolderValue, path("Work"));
    CFolderPickDlg dialog(FolderPickStyle::Brevoll(), m_store, std::string(kBrevollFolderSection),
                          std::string(kBrevollSourceFolderValue), folders());
    EXPECT_EQ(dialog.tree()->SelectedFolder(), nullptr);
    Select(dialog, path("Photos"));
    EXPECT_EQ(Stored(kBrevollFolderSection, kBrevollSourceFolderValue), path("Photos"));
    EXPECT_EQ(Stored(kBrevollFolderSection, kBrevollDestFolderValue), path("Work"));
    EXPECT_EQ(Stored(kQuensetFolderSection, kQuensetFolderValue), "<missing>");
}

}  // namespace
}  // namespace corvelle
