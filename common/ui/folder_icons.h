#pragma once

#include <QHash>
#include <QIcon>

#include "core/folder_namespace.h"

namespace corvelle {

// The icons of tree items: the desktop theme's icon for the item's kind (computer, drive,
// home, folder) when not selected, and the open folder while it is selected. Each kind's
// icon is built once per tree, so a large folder costs no theme lookups.
class FolderIcons {
  public:
    QIcon icon(FolderKind kind);

  private:
    QHash<int, QIcon> m_cache;
};

}  // namespace corvelle
