#pragma once

#include <QDialog>
#include <QRect>
#include <QSize>
#include <QString>

#include <string>
#include <string_view>

#include "core/folder_namespace.h"
#include "ui/shell_tree_ctrl.h"

class QPushButton;

namespace corvelle {
class SettingsStore;
}

// Where the two programs keep the folder their dialog chooses.
inline constexpr std::string_view kQuensetFolderSection = "Config";
inline constexpr std::string_view kQuensetFolderValue = "Recent Path";
inline constexpr std::string_view kBrevollFolderSection = "Settings";
inline constexpr std::string_view kBrevollSourceFolderValue = "Source Path";
inline constexpr std::string_view kBrevollDestFolderValue = "Dest Path";

// The look of one program's folder dialog: ids, texts and the template's layout in dialog
// units.
struct FolderPickStyle {
    int dialogId = 0;
    int treeId = 0;
    QString caption;
    QString okText;
    QString cancelText;
    QSize size;
    QRect treeRect;
    QRect okRect;
    QRect cancelRect;
    ShellTreeOptions treeOptions;

    static FolderPickStyle Quenset();
    static FolderPickStyle Brevoll();
};

// A modal folder chooser over the shared tree. It keeps the chosen folder in one settings
// value and writes it the moment the selection moves to another real folder, so the value
// follows the selection even when the dialog ends with Cancel; the caller reads it back
// after OK. "Computer", which has no path, stores the empty text. OK is enabled while the
// selection differs from what was stored before it.
class CFolderPickDlg : public QDialog {
    Q_OBJECT
  public:
    CFolderPickDlg(const FolderPickStyle& style, corvelle::SettingsStore& store,
                   std::string section, std::string valueName, QWidget* parent = nullptr);
    CFolderPickDlg(const FolderPickStyle& style, corvelle::SettingsStore& store,
                   std::string section, std::string valueName, corvelle::FolderNamespace folders,
                   QWidget* parent = nullptr);

    CShellTreeCtrl* tree() const { return m_pTree; }
    QPushButton* okButton() const { return m_pOk; }
    QPushButton* cancelButton() const { return m_pCancel; }

  private:
    void OnInitDialog();
    void OnSelChanged();

    corvelle::SettingsStore& m_store;
    std::string m_strSection;
    std::string m_strValueName;
    CShellTreeCtrl* m_pTree = nullptr;
    QPushButton* m_pOk = nullptr;
    QPushButton* m_pCancel = nullptr;
};
