#include "windows/host/saver_host.h"

#include "windows/host/saver_lifecycle.h"
#include "resource_ids.h"

namespace {

// The virtual screen, or the screen's clip box when the system reports none.
void FullScreenBounds(SaverWindowPlan& plan) {
    plan.x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    plan.y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    plan.width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    plan.height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (plan.width == 0 || plan.height == 0) {
        RECT box = {};
        HDC screen = GetDC(nullptr);
        GetClipBox(screen, &box);
        ReleaseDC(nullptr, screen);
        plan.x = box.left;
        plan.y = box.top;
        plan.width = box.right - box.left;
        plan.height = box.bottom - box.top;
    }
}

uint8_t CurrentLineStatus() {
    SYSTEM_POWER_STATUS status = {};
    return GetSystemPowerStatus(&status) ? status.ACLineStatus : kUnknownLineStatus;
}

bool IsFullScreen() {
    return !gHostState.preview;
}

void HideCursorInFullScreen() {
    if (IsFullScreen()) {
        SetCursor(nullptr);
    }
}

void DetachInputMethod(HWND window) {
    HMODULE library = GetModuleHandleA("IMM32.DLL");
    if (!library) {
        return;
    }
    auto associate = reinterpret_cast<AssociateContextFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "ImmAssociateContext")));
    if (!associate) {
        return;
    }
    gHostState.inputMethodLibrary = library;
    gHostState.associateContext = associate;
    gHostState.savedInputContext = associate(window, nullptr);
}

void ReattachInputMethod(HWND window) {
    if (gHostState.inputMethodLibrary && gHostState.associateContext &&
        gHostState.savedInputContext) {
        gHostState.associateContext(window, gHostState.savedInputContext);
    }
}

LRESULT HandleSysCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsFullScreen()) {
        // The low four bits of the command belong to the system.
        switch (wParam & 0xFFF0) {
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
        case SC_SCREENSAVE:
            return 0;
        case SC_MONITORPOWER:
            PostMessageA(window, WM_CLOSE, 0, 0);
            break;
        default:
            break;
        }
    }
    return SaverWindowProc(window, message, wParam, lParam);
}

LRESULT HandleClassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        gHostState.window = window;
        DetachInputMethod(window);
        GetCursorPos(&gHostState.cursor);
        HideCursorInFullScreen();
        break;
    case WM_DESTROY:
        ReattachInputMethod(window);
        PostQuitMessage(0);
        break;
    case WM_SETTEXT:
        return 0;
    case WM_PAINT:
        if (gHostState.closing) {
            return DefWindowProcA(window, message, wParam, lParam);
        }
        HideCursorInFullScreen();
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        if (gHostState.preview) {
            HWND parent = GetParent(window);
            if (parent && IsWindow(parent)) {
                PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
            }
            return 1;
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (gHostState.closing) {
            return DefWindowProcA(window, message, wParam, lParam);
        }
        break;
    case WM_TIMER:
        if (gHostState.closing) {
            return 0;
        }
        Sleep(0);
        break;
    case WM_SYSCOMMAND:
        return HandleSysCommand(window, message, wParam, lParam);
    default:
        break;
    }
    return SaverWindowProc(window, message, wParam, lParam);
}

} // namespace

bool PrepareSaverWindow(HWND parent, SaverWindowPlan& plan) {
    plan.parent = parent;
    if (parent) {
        RECT client = {};
        GetClientRect(parent, &client);
        plan.x = 0;
        plan.y = 0;
        plan.width = client.right;
        plan.height = client.bottom;
        plan.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
        plan.extendedStyle = 0;
        plan.title = kPreviewTitle;
        gHostState.preview = 1;
    } else {
        FullScreenBounds(plan);
        plan.style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        plan.extendedStyle = WS_EX_TOPMOST;
        plan.title = kFullScreenTitle;
        HWND running = FindWindowA(kSaverClassName, kFullScreenTitle);
        if (running && IsWindow(running)) {
            SetForegroundWindow(running);
            return false;
        }
        gHostState.acLineStatus = CurrentLineStatus();
        LoadPasswordVerifier();
    }
    gHostState.queryCancelAutoPlay =
        gHostState.oldSystem ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;
    return true;
}

HWND CreateSaverWindow(const SaverWindowPlan& plan) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
    windowClass.lpfnWndProc = SaverClassProc;
    windowClass.hInstance = gHostState.instance;
    windowClass.hIcon = LoadIconA(gHostState.instance, MAKEINTRESOURCEA(IDI_CLASS_ICON));
    windowClass.hCursor = nullptr;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kSaverClassName;
    if (!RegisterClassA(&windowClass)) {
        return nullptr;
    }
    return CreateWindowExA(plan.extendedStyle, kSaverClassName, plan.title, plan.style, plan.x,
                           plan.y, plan.width, plan.height, plan.parent, nullptr,
                           gHostState.instance, nullptr);
}

int PumpSaverMessages() {
    MSG message = {};
    // GetMessageA gives 0 on the quit message and -1 only on an error.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

int RunSaverWindow(HWND parent) {
    SaverWindowPlan plan = {};
    if (!PrepareSaverWindow(parent, plan)) {
        return 0;
    }
    HWND window = CreateSaverWindow(plan);
    int result = 0;
    if (window) {
        if (!parent) {
            SetForegroundWindow(window);
        }
        result = PumpSaverMessages();
    }
    UnloadPasswordVerifier();
    return result;
}

LRESULT CALLBACK SaverClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // No C++ exception unwinds through the system's frames that called this
    // procedure: the run ends as it does for any exception that escapes.
    try {
        return HandleClassMessage(window, message, wParam, lParam);
    } catch (...) {
        EndForEscapedException();
    }
}
