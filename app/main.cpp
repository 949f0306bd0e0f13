// Placeholder start-up until the window layer exists.
#include <cstdio>

int main() {
    std::fprintf(stderr, "cube-solver: the window and the 3-D cube are not built yet; "
                         "use cube-solve for headless solves.\n");
    return 1;
}
