/* Start-up probe: preloaded into the demo, it stands in for the window system's event
 * loop, reports how long the process took from exec to reaching the loop, and ends it.
 * KESTRUNE_T0 holds the realtime clock in nanoseconds just before exec. */
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

void glutMainLoop(void) {
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    const char* t0 = getenv("KESTRUNE_T0");
    long long start = t0 ? atoll(t0) : 0;
    long long nanos = (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
    fprintf(stderr, "startup_ms %.1f\n", (nanos - start) / 1e6);
    fflush(stderr);
    exit(0);
}
