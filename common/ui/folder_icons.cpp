#include "ui/folder_icons.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QStyle>

namespace corvelle {

namespace {

constexpr int kIconSizes[] = {16, 22, 24, 32};

QIcon ClosedIcon(FolderKind kind) {
    const QFileIconProvider provider;
    switch (kind) {
        case FolderKind::Computer:
            return provider.icon(QAbstractFileIconProvider::Computer);
        case FolderKind::Root:
            return provider.icon(QAbstractFileIconProvider::Drive);
        case FolderKind::Volume:
            return QIcon::fromTheme(QStringLiteral("drive-removable-media"),
                                    provider.icon(QAbstractFileIconProvider::Drive));
        case FolderKind::Home:
            return QIcon::fromTheme(QStringLiteral("user-home"),
                                    provider.icon(QAbstractFileIconProvider::Folder));
        case FolderKind::Desktop:
        case FolderKind::Folder:
            break;
    }
    return provider.icon(QAbstractFileIconProvider::Folder);
}

QIcon OpenFolderIcon() {
    return QIcon::fromTheme(QStringLiteral("folder-open"),
                            QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon));
}

QIcon BuildIcon(FolderKind kind) {
    const QIcon closed = ClosedIcon(kind);
    const QIcon open = OpenFolderIcon();
    QIcon icon;
    for (int size : kIconSizes) {
        icon.addPixmap(closed.pixmap(size, size), QIcon::Normal);
        icon.addPixmap(open.pixmap(size, size), QIcon::Selected);
    }
    return icon;
}

}  // namespace

QIcon FolderIcons::icon(FolderKind kind) {
    const int slot = static_cast<int>(kind);
    auto found = m_cache.constFind(slot);
    if (found != m_cache.constEnd()) return *found;
    return *m_cache.insert(slot, BuildIcon(kind));
}

}  // namespace corvelle
