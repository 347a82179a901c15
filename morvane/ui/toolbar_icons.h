#pragma once

#include <QIcon>

// The 16 x 15 toolbar button images, drawn rather than stored.
QIcon ToolbarIcon(int commandId);
