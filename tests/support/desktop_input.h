// Input as a user gives it, through the system's input queue.
#pragma once

#include <windows.h>

namespace qf_test {

// A key pressed and released.
bool PressKey(WORD virtualKey);
// The left button pressed and released where the cursor is.
bool ClickLeft();
// Puts the cursor on the pixel, for the system and for the display's own
// pointer, and checks that it landed there (within 15 s).
bool MoveCursorTo(int x, int y);

} // namespace qf_test
