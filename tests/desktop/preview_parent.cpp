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

bool StartSaver(const std::string& saver, HWND parent, PROCESS_INFORMATION* process) {
    std::string line =
        "\"" + saver + "\" /p " +
        std::to_string(static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(parent)));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          process) != FALSE;
}

// Handles messages for the given time; false when the process (if any) ends
// first.
bool Pump(HANDLE process, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) {
            return true;
        }
        const DWORD handles = process ? 1 : 0;
        if (MsgWaitForMultipleObjects(handles, &process, FALSE, milliseconds - elapsed,
                                      QS_ALLINPUT) == WAIT_OBJECT_0 &&
            process) {
            return false;
        }
    }
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
    Pump(nullptr, 200);
    RECT client;
    GetClientRect(parent, &client);
    POINT origin = {0, 0};
    ClientToScreen(parent, &origin);
    std::printf("parent %llu client %ld %ld %ld %ld\n",
                static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(parent)), origin.x,
                origin.y, client.right, client.bottom);
    std::fflush(stdout);

    PROCESS_INFORMATION saver = {};
    if (!StartSaver(argv[1], parent, &saver)) {
        std::fprintf(stderr, "could not start %s (%lu)\n", argv[1], GetLastError());
        return 1;
    }
    const DWORD start = GetTickCount();
    while (GetFileAttributesA(argv[2]) == INVALID_FILE_ATTRIBUTES &&
           GetTickCount() - start < kWaitForCloseMs) {
        if (!Pump(saver.hProcess, 100)) {
            DWORD code = 0;
            GetExitCodeProcess(saver.hProcess, &code);
            std::printf("saver ended before its parent was closed, exit code %ld\n",
                        static_cast<long>(code));
            return 1;
        }
    }
    DestroyWindow(parent);
    if (WaitForSingleObject(saver.hProcess, kWaitForExitMs) != WAIT_OBJECT_0) {
        std::printf("saver still running %lu ms after its parent was closed\n", kWaitForExitMs);
        TerminateProcess(saver.hProcess, 1);
        return 1;
    }
    DWORD code = 0;
    GetExitCodeProcess(saver.hProcess, &code);
    std::printf("saver exit code %ld\n", static_cast<long>(code));
    return code == 0 ? 0 : 1;
}
