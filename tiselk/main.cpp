#include <cstdio>

int main() {
    std::fputs("tiselk: not built yet\n", stderr);
    return 2;
}
