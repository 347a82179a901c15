#include "ui/shell_tree_ctrl.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>
#include <vector>

#include "core/text.h"
#include "ui/wait_cursor.h"

using corvelle::FolderItem;
using corvelle::FolderKind;

namespace {

// A tree item that owns its record, so the record goes when the item goes.
class ShellTreeItem : public QTreeWidgetItem {
  public:
    static constexpr int kType = QTreeWidgetItem::UserType + 1;
    explicit ShellTreeItem(ShellFolderItem record)
        : QTreeWidgetItem(kType), m_record(std::move(record)) {}

    ShellFolderItem m_record;
};

// File names are bytes on Linux: one that is not UTF-8 is shown as Latin-1, not as marks.
QString ShownText(const std::string& name) {
    return QString::fromStdString(corvelle::FileTextToUtf8(name));
}

std::string_view LastComponent(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

ShellTreeOptions ShellTreeOptions::Quenset() { return {}; }

ShellTreeOptions ShellTreeOptions::Brevoll() {
    ShellTreeOptions options;
    options.nameOrder = NameOrder::LocaleAwareName;
    return options;
}

ShellTreeOptions ShellTreeOptions::Tiselk() {
    ShellTreeOptions options;
    options.includeHidden = true;
    options.sortRule = corvelle::FolderSortRule::NonAsciiNamesFirst;
    options.nameOrder = NameOrder::AsciiFoldedPath;
    return options;
}

CShellTreeCtrl::CShellTreeCtrl(QWidget* parent)
    : CShellTreeCtrl(ShellTreeOptions::Quenset(), parent) {}

CShellTreeCtrl::CShellTreeCtrl(const ShellTreeOptions& options, QWidget* parent)
    : CShellTreeCtrl(options, corvelle::FolderNamespace(corvelle::SystemNamespaceRoots()), parent) {
}

CShellTreeCtrl::CShellTreeCtrl(const ShellTreeOptions& options, corvelle::FolderNamespace folders,
                               QWidget* parent)
    : QTreeWidget(parent), m_options(options), m_folders(std::move(folders)) {
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    // Long names scroll sideways instead of being cut short.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(this, &QTreeWidget::itemExpanded, this, &CShellTreeCtrl::OnItemExpanded);
}

ShellFolderItem* CShellTreeCtrl::RecordOf(QTreeWidgetItem* item) {
    if (item == nullptr || item->type() != ShellTreeItem::kType) return nullptr;
    return &static_cast<ShellTreeItem*>(item)->m_record;
}

const ShellFolderItem* CShellTreeCtrl::RecordOf(const QTreeWidgetItem* item) {
    return RecordOf(const_cast<QTreeWidgetItem*>(item));
}

const ShellFolderItem* CShellTreeCtrl::SelectedFolder() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : RecordOf(selected.first());
}

QTreeWidgetItem* CShellTreeCtrl::ComputerItem() const {
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = topLevelItem(i);
        const ShellFolderItem* record = RecordOf(item);
        if (record != nullptr && record->folder.kind == FolderKind::Computer) return item;
    }
    return nullptr;
}

bool CShellTreeCtrl::FillRoot() {
    clear();
    if (!InsertChildren(corvelle::FolderNamespace::Desktop(), invisibleRootItem())) return false;
    SortChildren(invisibleRootItem());
    return topLevelItemCount() > 0;
}

bool CShellTreeCtrl::InsertChildren(const FolderItem& folder, QTreeWidgetItem* parent) {
    if (parent == nullptr) return false;
    std::optional<std::vector<FolderItem>> children =
        m_folders.Children(folder, m_options.includeHidden);
    if (!children) return false;

    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(children->size()));
    for (FolderItem& child : *children) {
        ShellFolderItem record;
        record.sortKey = corvelle::FolderSortKey(child, m_options.sortRule);
        record.folder = std::move(child);
        auto* item = new ShellTreeItem(std::move(record));
        const FolderItem& stored = item->m_record.folder;
        item->setText(0, ShownText(stored.displayName));
        item->setIcon(0, m_icons.icon(stored.kind));
        if (!stored.path.empty()) item->setToolTip(0, ShownText(stored.path));
        item->setChildIndicatorPolicy(stored.has(corvelle::kFolderHasSubFolders)
                                          ? QTreeWidgetItem::ShowIndicator
                                          : QTreeWidgetItem::DontShowIndicatorWhenChildless);
        items.push_back(item);
    }
    parent->addChildren(items);
    return true;
}

bool CShellTreeCtrl::ExpandItem(QTreeWidgetItem* item) {
    ShellFolderItem* record = RecordOf(item);
    if (record == nullptr) return false;
    if (record->expandedOnce) return true;
    corvelle::WaitCursor wait;
    record->expandedOnce = true;
    const bool filled = InsertChildren(record->folder, item);
    if (filled) SortChildren(item);
    // A folder that turned out empty, unreadable or gone loses its button.
    if (item->childCount() == 0)
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    return filled;
}

void CShellTreeCtrl::OnItemExpanded(QTreeWidgetItem* item) { ExpandItem(item); }

// "*" would open every branch below the current item, and below "/" that is the whole
// file system: here it opens just the current item, like "+".
void CShellTreeCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Asterisk) {
        if (QTreeWidgetItem* item = currentItem()) item->setExpanded(true);
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CShellTreeCtrl::SortChildren(QTreeWidgetItem* parent) {
    QList<QTreeWidgetItem*> children = parent->takeChildren();
    std::stable_sort(children.begin(), children.end(),
                     [this](QTreeWidgetItem* a, QTreeWidgetItem* b) {
                         return CompareItems(*RecordOf(a), *RecordOf(b)) < 0;
                     });
    parent->addChildren(children);
}

int CShellTreeCtrl::CompareNames(const ShellFolderItem& a, const ShellFolderItem& b) const {
    switch (m_options.nameOrder) {
        case ShellTreeOptions::NameOrder::AsciiFoldedName:
            return corvelle::CompareAsciiNoCase(a.folder.displayName, b.folder.displayName);
        case ShellTreeOptions::NameOrder::LocaleAwareName:
            return m_collator.compare(ShownText(a.folder.displayName),
                                      ShownText(b.folder.displayName));
        case ShellTreeOptions::NameOrder::AsciiFoldedPath:
            return corvelle::CompareAsciiNoCase(a.folder.path, b.folder.path);
    }
    return 0;
}

int CShellTreeCtrl::CompareItems(const ShellFolderItem& a, const ShellFolderItem& b) const {
    if (a.sortKey != b.sortKey) return a.sortKey - b.sortKey;
    if (const int byName = CompareNames(a, b); byName != 0) return byName;
    // Names that differ only in case still get one fixed order.
    if (const int exact = a.folder.displayName.compare(b.folder.displayName); exact != 0)
        return exact;
    return a.folder.path.compare(b.folder.path);
}

bool CShellTreeCtrl::SelectFolderPath(const std::string& path) {
    QTreeWidgetItem* current = ComputerItem();
    if (current == nullptr) return false;
    ExpandItem(current);
    current->setExpanded(true);

    bool matched = path.empty();
    std::vector<std::string> volumes;
    for (int i = 0; i < current->childCount(); ++i) {
        const ShellFolderItem* record = RecordOf(current->child(i));
        volumes.push_back(record != nullptr ? record->folder.path : std::string());
    }
    const std::optional<corvelle::FolderRoute> route =
        path.empty() ? std::nullopt : corvelle::RouteFromComputer(path, volumes);
    if (route) {
        const auto volume = std::find(volumes.begin(), volumes.end(), route->volume);
        current = current->child(static_cast<int>(volume - volumes.begin()));
        matched = true;
        for (const std::string& component : route->components) {
            ExpandItem(current);
            current->setExpanded(true);
            QTreeWidgetItem* next = nullptr;
            for (int i = 0; i < current->childCount() && next == nullptr; ++i) {
                const ShellFolderItem* record = RecordOf(current->child(i));
                if (record != nullptr && LastComponent(record->folder.path) == component)
                    next = current->child(i);
            }
            if (next == nullptr) {
                matched = false;
                break;
            }
            current = next;
        }
    }
    setCurrentItem(current);
    scrollToItem(current);
    return matched;
}
