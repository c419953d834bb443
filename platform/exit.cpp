// The one way out on a fatal error, the same on every platform.
#include <cstdio>

#include "platform/host.h"

void fatalError(const char* message) {
    printf("\n%s", message);
    endProcess(1);
}
