#pragma once

class QIcon;

// Runs the multiple-document application; returns the process exit status.
int RunMorvaneGui(int argc, char** argv);

// The program icon, from the resources linked into the program.
QIcon MorvaneIcon();
