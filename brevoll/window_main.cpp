// brevoll-window: Brevoll's main dialog, started by brevoll in its place when it is given
// no arguments. The dialog reports an abnormal end of the previous run itself.
#include <clocale>

#include "ui/brevoll_gui.h"

int main(int argc, char** argv) {
    // The stamp's date and time formats follow the user's locale; numbers stay plain.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    return RunBrevollGui(argc, argv);
}
