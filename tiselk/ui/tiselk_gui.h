#pragma once

#include <QString>

// Shows the main dialog and runs until it closes; `path`, when given, is opened as a dropped
// file would be.
int RunTiselkGui(int argc, char** argv, const QString& path);

// The program icon from the resources, for the application and the tests.
void InitTiselkResources();
