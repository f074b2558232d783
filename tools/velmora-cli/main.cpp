// velmora-cli: Velmora's commands without a window.
#include <cstdio>

int main() {
    std::fputs("velmora-cli: noch keine Befehle\n", stderr);
    return 2;
}
