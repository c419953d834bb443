// Kestrune: a real-time demo in two scenes. Everything but this entry point lives in the
// core library, so tests, tools and benchmarks run the same code.
#include "app/startup.h"

int main(int argc, char** argv) {
    return runDemo(argc, argv);
}
