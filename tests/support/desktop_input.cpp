#include "support/desktop_input.h"

namespace qf_test {

bool PressKey(WORD virtualKey) {
    INPUT keys[2] = {};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = virtualKey;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, keys, sizeof(INPUT)) == 2;
}

bool ClickLeft() {
    INPUT buttons[2] = {};
    buttons[0].type = INPUT_MOUSE;
    buttons[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    buttons[1] = buttons[0];
    buttons[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(2, buttons, sizeof(INPUT)) == 2;
}

bool MoveCursorTo(int x, int y) {
    // Wine moves the X pointer asynchronously, and a window another program
    // just closed may still hold the cursor for a moment: try for a while.
    for (int attempt = 0; attempt < 40; ++attempt) {
        POINT now = {};
        if (SetCursorPos(x, y) && GetCursorPos(&now) && now.x == x && now.y == y) {
            return true;
        }
        Sleep(50);
    }
    return false;
}

} // namespace qf_test
