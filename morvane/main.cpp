#include <cstdio>

int main() {
    std::fputs("morvane: not built yet\n", stderr);
    return 2;
}
