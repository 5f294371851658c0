#include "windows/host/saver_host.h"

namespace {

void FreePasswordLibrary() {
    if (gHostState.passwordLibrary) {
        FreeLibrary(gHostState.passwordLibrary);
        gHostState.passwordLibrary = nullptr;
    }
}

bool PasswordRequested() {
    HKEY desktop = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &desktop) !=
        ERROR_SUCCESS) {
        return false;
    }
    DWORD usePassword = 0;
    DWORD size = sizeof(usePassword);
    LONG status = RegQueryValueExA(desktop, "ScreenSaveUsePassword", nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(&usePassword), &size);
    RegCloseKey(desktop);
    return status == ERROR_SUCCESS && usePassword != 0;
}

} // namespace

BOOL VerifySaverPassword(HWND window) {
    if (gHostState.checkingPassword || gHostState.closing) {
        return FALSE;
    }
    if (!gHostState.verifyPassword) {
        gHostState.closing = 1;
        return TRUE;
    }
    DWORD now = GetTickCount();
    if (gHostState.lastPasswordCheck != kNoPasswordCheckYet &&
        now - gHostState.lastPasswordCheck < kPasswordRecheckMs) {
        return gHostState.closing;
    }
    gHostState.checkingPassword = 1;
    // No frame runs under the password prompt.
    MSG pending = {};
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    LRESULT answer = SendMessageA(window, kVerifyPasswordMessage, 0, 0);
    gHostState.closing = answer != 0 ? 1 : 0;
    gHostState.checkingPassword = 0;
    if (!gHostState.closing) {
        SetCursor(nullptr);
    }
    gHostState.lastPasswordCheck = GetTickCount();
    return gHostState.closing;
}

void LoadPasswordVerifier() {
    if (!gHostState.oldSystem) {
        return;
    }
    if (gHostState.passwordLibrary || gHostState.verifyPassword) {
        UnloadPasswordVerifier();
    }
    if (!PasswordRequested()) {
        return;
    }
    gHostState.passwordLibrary = LoadLibraryA("PASSWORD.CPL");
    if (!gHostState.passwordLibrary) {
        return;
    }
    gHostState.verifyPassword = reinterpret_cast<VerifyPasswordFunction>(
        reinterpret_cast<void*>(GetProcAddress(gHostState.passwordLibrary, "VerifyScreenSavePwd")));
    if (gHostState.verifyPassword) {
        SetSaverRunning(TRUE);
    } else {
        UnloadPasswordVerifier();
    }
}

void UnloadPasswordVerifier() {
    if (!gHostState.oldSystem) {
        return;
    }
    FreePasswordLibrary();
    if (gHostState.verifyPassword) {
        gHostState.verifyPassword = nullptr;
        SetSaverRunning(FALSE);
    }
}

void SetSaverRunning(BOOL on) {
    if (!gHostState.oldSystem) {
        return;
    }
    BOOL previous = FALSE;
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, static_cast<UINT>(on), &previous, 0);
}
