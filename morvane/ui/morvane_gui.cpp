#include "ui/morvane_gui.h"

#include <cstdio>

int RunMorvaneGui(int, char**) {
    std::fputs("usage: morvane --convert IN -o OUT [options]\n", stderr);
    return 2;
}
