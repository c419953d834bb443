// Author mode (kestrune --edit): the show in a window, its time under the author's keys,
// the title and an overlay saying where it is, and one "edit: ..." line per action.
#pragma once

// Start-up, once --edit is seen: the show's clock becomes fixed-step (60 frames a second,
// unless KESTRUNE_FPS chose a rate), paced to the wall clock unless KESTRUNE_FPS is set.
void prepareAuthorMode();
// The display and idle callback in author mode, in place of display.
void authorDisplay();
// An author key (see README.md, "Author keys"): true if it was one.
bool authorKey(unsigned char key);
// The key c, leaving the path: the user camera takes the path camera's place and view.
void flyFromPathCamera();
// "edit: " and the text, on a line of its own.
void printEdit(const char* format, ...) __attribute__((format(printf, 1, 2)));
