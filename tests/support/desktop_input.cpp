#include "support/desktop_input.h"

#include <string>

namespace qf_test {

namespace {

bool UnderWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// xdotool, a program of the machine that Wine starts, moves the pointer of the
// X display. Wine gives no handle to wait on for such a program: the caller
// watches the cursor.
bool MovePointerOfTheDisplay(int x, int y) {
    std::string command =
        "Z:\\usr\\bin\\xdotool mousemove " + std::to_string(x) + " " + std::to_string(y);
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &start, &process)) {
        return false;
    }
    for (HANDLE handle : {process.hThread, process.hProcess}) {
        if (handle) {
            CloseHandle(handle);
        }
    }
    return true;
}

} // namespace

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
    // Under Wine the cursor is also the X server's pointer, which Wine reads
    // back once its own position is 100 ms old. SetCursorPos from this
    // process moves Wine's position alone while the saver's full-screen
    // window holds the pointer: on a busy machine the saver then read the
    // pointer where it had stayed. So the pointer is moved as a mouse moves
    // it, by an X client.
    if (UnderWine() && !MovePointerOfTheDisplay(x, y)) {
        return false;
    }
    // Until the cursor is there: the X client takes a moment, and a window
    // another program just closed may still hold the cursor.
    for (int attempt = 0; attempt < 300; ++attempt) {
        POINT now = {};
        if ((UnderWine() || SetCursorPos(x, y)) && GetCursorPos(&now) && now.x == x && now.y == y) {
            return true;
        }
        Sleep(50);
    }
    return false;
}

} // namespace qf_test
