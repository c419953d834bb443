// Every way the process ends goes through here. No includes: any module may report a
// fatal error without depending on the rest of the application.
#pragma once

// Exit status 0: the show ran and ended by Escape or by its end; a recording in progress
// is written and the music is closed first.
[[noreturn]] void shutDown();
// A capture run finishes its files here, after the music has stopped; the hook may end the
// process itself with its own status. Set by the capture tool.
extern void (*shutDownHook)();
// Exit status 1: a fatal error; the message is printed on its own line first.
[[noreturn]] void fatalError(const char* message);
// SIGINT and SIGTERM are noted by a handler (installed just before the event loop); the
// next frame's checkStopSignal then ends the process as shutDown does, but by the signal.
void installStopSignals();
void checkStopSignal();
