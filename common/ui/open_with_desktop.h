#pragma once

#include <QString>

class QWidget;

namespace corvelle {

// Opens a local file or a link target (see LinkUrl) with the desktop's opener, xdg-open.
// Where none is installed, or it refuses, a message names the file's path or the address
// instead, so the user can still find it. Returns whether the opener was started.
bool OpenWithDesktop(QWidget* parent, const QString& target);

}  // namespace corvelle
