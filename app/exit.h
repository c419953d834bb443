// How the show ends: by Escape or its own end, or by a signal. A fatal error is the
// platform's (platform/host.h), so that any module may report one.
#pragma once

// Exit status 0: the show ran and ended by Escape or by its end; a recording in progress
// is written and the music is closed first.
[[noreturn]] void shutDown();
// A capture run finishes its files here, after the music has stopped; the hook may end the
// process itself with its own status. Set by the capture tool.
extern void (*shutDownHook)();
// SIGINT and SIGTERM are noted by a handler (installed just before the event loop); the
// next frame's checkStopSignal then ends the process as shutDown does, but by the signal.
void installStopSignals();
void checkStopSignal();
