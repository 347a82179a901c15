#include <cstdio>

int main() {
    std::fputs("brevoll: not built yet\n", stderr);
    return 2;
}
