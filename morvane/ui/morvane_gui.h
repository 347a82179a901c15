#pragma once

// Runs the multiple-document application; returns the process exit status.
int RunMorvaneGui(int argc, char** argv);
