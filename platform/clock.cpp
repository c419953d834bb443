// The monotonic counter behind both of the demo's clocks.
#include <ctime>

#include "platform/platform.h"

static CounterSource counterSource = nullptr;

void setCounterSource(CounterSource source) {
    counterSource = source;
}

int64_t readCounter() {
    if (counterSource)
        return counterSource();
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

int64_t readFrequency() {
    return 1000000000;
}
