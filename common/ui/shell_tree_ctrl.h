#pragma once

#include <QCollator>
#include <QTreeWidget>
#include <QTreeWidgetItem>

#include <string>

#include "core/folder_namespace.h"
#include "core/folder_order.h"
#include "ui/folder_icons.h"

// The record behind one tree item. It lives exactly as long as its item: the item owns it,
// so deleting an item (or clearing the tree) frees it.
struct ShellFolderItem {
    corvelle::FolderItem folder;
    int sortKey = 0;
    bool expandedOnce = false;  // children were enumerated; they are never read again
};

// How the three programs' trees differ. Quenset's is the plain one; Brevoll's compares names
// by the user's locale; Tiselk's lists hidden folders, puts non-ASCII names first and orders
// by path.
struct ShellTreeOptions {
    enum class NameOrder {
        AsciiFoldedName,  // display names, ASCII letters folded byte by byte
        LocaleAwareName,  // display names, case-insensitively in the user's locale
        AsciiFoldedPath,  // paths, ASCII letters folded byte by byte
    };

    bool includeHidden = false;
    corvelle::FolderSortRule sortRule = corvelle::FolderSortRule::AncestorsFirst;
    NameOrder nameOrder = NameOrder::AsciiFoldedName;

    static ShellTreeOptions Quenset();
    static ShellTreeOptions Brevoll();
    static ShellTreeOptions Tiselk();
};

// A lazily filled tree of folders: "Computer" and "Home" at the top, each branch read the
// first time it is opened and never again while the tree lives.
class CShellTreeCtrl : public QTreeWidget {
    Q_OBJECT
  public:
    // Over the real system: the user's home folder, "/" and the mounted volumes.
    explicit CShellTreeCtrl(QWidget* parent = nullptr);
    explicit CShellTreeCtrl(const ShellTreeOptions& options, QWidget* parent = nullptr);
    CShellTreeCtrl(const ShellTreeOptions& options, corvelle::FolderNamespace folders,
                   QWidget* parent = nullptr);

    const ShellTreeOptions& options() const { return m_options; }

    // Rebuilds the top level; false when there is nothing to show.
    bool FillRoot();

    // Reads the folder's sub-folders and puts them under the item (the invisible root for
    // the top level). False, with nothing inserted, when the folder cannot be read.
    bool InsertChildren(const corvelle::FolderItem& folder, QTreeWidgetItem* parent);

    // Fills an item's branch the first time it is opened and sorts it. Later calls do
    // nothing: a branch shows the folders that were there when it was first opened.
    bool ExpandItem(QTreeWidgetItem* item);

    // Negative when a goes before b.
    int CompareItems(const ShellFolderItem& a, const ShellFolderItem& b) const;

    // Selects the folder of an absolute path, opening each level on the way: the volume
    // under "Computer" that holds the path, then one folder per component. Stops at the
    // first component that is not a listed folder (a file name, a missing or hidden folder)
    // and selects the deepest item reached, "Computer" itself when no volume holds the path.
    // True when every component was found.
    bool SelectFolderPath(const std::string& path);

    static ShellFolderItem* RecordOf(QTreeWidgetItem* item);
    static const ShellFolderItem* RecordOf(const QTreeWidgetItem* item);
    // The record of the selected item, or null.
    const ShellFolderItem* SelectedFolder() const;
    // The top-level "Computer" item, or null.
    QTreeWidgetItem* ComputerItem() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void OnItemExpanded(QTreeWidgetItem* item);
    void SortChildren(QTreeWidgetItem* parent);
    int CompareNames(const ShellFolderItem& a, const ShellFolderItem& b) const;

    ShellTreeOptions m_options;
    corvelle::FolderNamespace m_folders;
    corvelle::FolderIcons m_icons;
    QCollator m_collator;
};
