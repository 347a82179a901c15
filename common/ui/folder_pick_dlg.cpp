#include "ui/folder_pick_dlg.h"

#include <QPushButton>

#include <filesystem>
#include <system_error>

#include "core/settings_store.h"
#include "ui/control_id.h"
#include "ui/dialog_units.h"
#include "ui/folder_resource_ids.h"

namespace {

// Quenset's template; Brevoll's dialog has the same shape.
FolderPickStyle CommonLayout() {
    FolderPickStyle style;
    style.size = QSize(211, 181);
    style.treeRect = QRect(7, 7, 197, 141);
    style.okRect = QRect(97, 160, 50, 14);
    style.cancelRect = QRect(154, 160, 50, 14);
    return style;
}

}  // namespace

FolderPickStyle FolderPickStyle::Quenset() {
    FolderPickStyle style = CommonLayout();
    style.dialogId = corvelle::IDD_QUENSET_FOLDER_PICK;
    style.treeId = corvelle::IDC_QUENSET_FOLDER_TREE;
    style.caption = QStringLiteral("폴더 찾아보기");
    style.okText = QStringLiteral("확인");
    style.cancelText = QStringLiteral("취소");
    style.treeOptions = ShellTreeOptions::Quenset();
    return style;
}

FolderPickStyle FolderPickStyle::Brevoll() {
    FolderPickStyle style = CommonLayout();
    style.dialogId = corvelle::IDD_BREVOLL_FOLDER_PICK;
    style.treeId = corvelle::IDC_BREVOLL_FOLDER_TREE;
    style.caption = QStringLiteral("Choose Folder");
    style.okText = QStringLiteral("OK");
    style.cancelText = QStringLiteral("Cancel");
    style.treeOptions = ShellTreeOptions::Brevoll();
    return style;
}

CFolderPickDlg::CFolderPickDlg(const FolderPickStyle& style, corvelle::SettingsStore& store,
                               std::string section, std::string valueName, QWidget* parent)
    : CFolderPickDlg(style, store, std::move(section), std::move(valueName),
                     corvelle::FolderNamespace(corvelle::SystemNamespaceRoots()), parent) {}

CFolderPickDlg::CFolderPickDlg(const FolderPickStyle& style, corvelle::SettingsStore& store,
                               std::string section, std::string valueName,
                               corvelle::FolderNamespace folders, QWidget* parent)
    : QDialog(parent),
      m_store(store),
      m_strSection(std::move(section)),
      m_strValueName(std::move(valueName)) {
    corvelle::SetControlId(this, style.dialogId);
    setWindowTitle(style.caption);
    setModal(true);

    m_pTree = new CShellTreeCtrl(style.treeOptions, std::move(folders), this);
    corvelle::SetControlId(m_pTree, style.treeId);
    m_pOk = new QPushButton(style.okText, this);
    corvelle::SetControlId(m_pOk, corvelle::IDOK);
    m_pOk->setDefault(true);
    m_pCancel = new QPushButton(style.cancelText, this);
    corvelle::SetControlId(m_pCancel, corvelle::IDCANCEL);

    const QFont dialogFont = font();
    setFixedSize(corvelle::DialogUnitsToPixels(style.size, dialogFont));
    m_pTree->setGeometry(corvelle::DialogUnitsToPixels(style.treeRect, dialogFont));
    m_pOk->setGeometry(corvelle::DialogUnitsToPixels(style.okRect, dialogFont));
    m_pCancel->setGeometry(corvelle::DialogUnitsToPixels(style.cancelRect, dialogFont));

    connect(m_pOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_pCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_pTree, &QTreeWidget::itemSelectionChanged, this, &CFolderPickDlg::OnSelChanged);
    OnInitDialog();
}

void CFolderPickDlg::OnInitDialog() {
    m_pTree->FillRoot();
    const std::string stored = m_store.readString(m_strSection, m_strValueName, "");
    if (!stored.empty()) m_pTree->SelectFolderPath(stored);
    m_pOk->setEnabled(false);
    m_pTree->setFocus();
}

void CFolderPickDlg::OnSelChanged() {
    const ShellFolderItem* record = m_pTree->SelectedFolder();
    if (record == nullptr) return;
    const std::string& path = record->folder.path;
    // A folder that vanished since it was listed cannot be chosen; OK keeps its state.
    std::error_code ec;
    if (!path.empty() && !std::filesystem::is_directory(path, ec)) return;

    const std::string stored = m_store.readString(m_strSection, m_strValueName, "");
    if (path != stored) {
        m_store.writeString(m_strSection, m_strValueName, path);
        m_pOk->setEnabled(true);
    } else {
        m_pOk->setEnabled(false);
    }
}
