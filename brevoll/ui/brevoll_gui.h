#pragma once

// Runs the main dialog; returns the process exit status.
int RunBrevollGui(int argc, char** argv);

// Makes the program's icon available from its resources (also for the tests).
void InitBrevollResources();
