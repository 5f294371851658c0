// preview_parent.exe SAVER CLOSE_FILE
// Plays the part of the screen saver settings page: a plain window with a
// 320x240 client area at (200, 150) whose handle is handed to "SAVER /p
// <hwnd>". Prints the handle and the client rectangle in screen coordinates,
// then keeps the window until the file CLOSE_FILE appears, destroys it and
// prints the saver's exit code. Exits 0 when the saver ran until then and
// ended with 0 within 15 seconds of losing its parent.
#include <cstdio>
#include <string>

#include <windows.h>

#include "support/saver_process.h"

namespace {

constexpr int kLeft = 200;
constexpr int kTop = 150;
constexpr int kClientWidth = 320;
constexpr int kClientHeight = 240;
constexpr DWORD kWaitForCloseMs = 180000;
constexpr DWORD kWaitForExitMs = 15000;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeParent(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ParentProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    // Grey, so that a preview that draws nothing does not pass for a black sky.
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "QuillfrostPreviewParent";
    if (!RegisterClassA(&windowClass)) {
        return nullptr;
    }
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_VISIBLE;
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRect(&frame, style, FALSE);
    return CreateWindowA(windowClass.lpszClassName, "Preview", style, kLeft + frame.left,
                         kTop + frame.top, frame.right - frame.left, frame.bottom - frame.top,
                         nullptr, nullptr, instance, nullptr);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: preview_parent SAVER CLOSE_FILE\n");
        return 2;
    }
    HWND parent = MakeParent(GetModuleHandleA(nullptr));
    if (!parent) {
        std::fprintf(stderr, "no parent window\n");
        return 1;
    }
    qf_test::PumpFor(200);
    RECT client;
    GetClientRect(parent, &client);
    POINT origin = {0, 0};
    ClientToScreen(parent, &origin);
    std::printf("parent %llu client %ld %ld %ld %ld\n",
                static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(parent)), origin.x,
                origin.y, client.right, client.bottom);
    std::fflush(stdout);

    qf_test::ChildProcess saver;
    if (!saver.Start(argv[1], "/p " + std::to_string(static_cast<unsigned long long>(
                                          reinterpret_cast<ULONG_PTR>(parent))))) {
        std::fprintf(stderr, "could not start %s (%lu)\n", argv[1], GetLastError());
        return 1;
    }
    const bool closed = qf_test::WaitUntil(
        [&] { return !saver.Running() || GetFileAttributesA(argv[2]) != INVALID_FILE_ATTRIBUTES; },
        kWaitForCloseMs);
    if (!saver.Running()) {
        std::printf("saver ended before its parent was closed, exit code %ld\n",
                    static_cast<long>(saver.WaitExit(0).value_or(0)));
        return 1;
    }
    if (!closed) {
        std::printf("no word to close the parent within %lu ms\n", kWaitForCloseMs);
        return 1;
    }
    DestroyWindow(parent);
    const auto code = saver.WaitExit(kWaitForExitMs);
    if (!code.has_value()) {
        std::printf("saver still running %lu ms after its parent was closed\n", kWaitForExitMs);
        return 1;
    }
    std::printf("saver exit code %ld\n", static_cast<long>(*code));
    return *code == 0 ? 0 : 1;
}
