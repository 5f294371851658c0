#include "windows/host/saver_host.h"

#include <cstdint>

#include <commctrl.h>

#include "windows/host/command_line.h"
#include "resource_ids.h"

namespace {

HWND HandleFromValue(uint32_t value) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
}

// The given window when it is one, else the foreground window.
HWND WindowOrForeground(const SaverCommandLine& parsed) {
    HWND given = HandleFromValue(parsed.handle);
    if (parsed.handleGiven && parsed.handle != 0 && IsWindow(given)) {
        return given;
    }
    return GetForegroundWindow();
}

bool IsOldSystem() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

int RunCommand(const char* commandLine) {
    SaverCommandLine parsed = ParseSaverCommandLine(commandLine);
    switch (parsed.command) {
    case SaverCommand::ConfigureAlone:
        return static_cast<int>(ShowConfigDialog(nullptr));
    case SaverCommand::Configure:
        return static_cast<int>(ShowConfigDialog(WindowOrForeground(parsed)));
    case SaverCommand::Run:
        return RunSaverWindow(nullptr);
    case SaverCommand::Preview: {
        HWND parent = HandleFromValue(parsed.handle);
        if (parsed.handle == 0 || !IsWindow(parent)) {
            return -1;
        }
        return RunSaverWindow(parent);
    }
    case SaverCommand::ChangePassword:
        if (!gHostState.oldSystem) {
            return -1;
        }
        ChangeSaverPassword(WindowOrForeground(parsed));
        return 0;
    case SaverCommand::Invalid:
        break;
    }
    return -1;
}

// A structured exception (a crash) that nothing handled: the system's notice
// that a saver is running must not outlive the process.
LONG WINAPI SaverCrashFilter(EXCEPTION_POINTERS*) {
    EndForEscapedException();
}

} // namespace

void SaverEntry(const SaverSteps& steps) {
    gHostState.steps = steps;
    const char* arguments = CommandLineArguments(GetCommandLineA());
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    int showCommand =
        (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    int result = SaverMain(GetModuleHandleA(nullptr), nullptr, arguments, showCommand);
    ExitProcess(static_cast<UINT>(result));
}

int SaverMain(HINSTANCE instance, HINSTANCE, const char* commandLine, int) {
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_TAB_CLASSES;
    InitCommonControlsEx(&controls);

    gHostState.instance = instance;
    gHostState.oldSystem = IsOldSystem() ? 1 : 0;

    SetUnhandledExceptionFilter(SaverCrashFilter);
    try {
        return RunCommand(commandLine);
    } catch (...) {
        SetSaverRunning(FALSE);
        return -1;
    }
}

void EndForEscapedException() {
    SetSaverRunning(FALSE);
    ExitProcess(static_cast<UINT>(-1));
}

INT_PTR ShowConfigDialog(HWND parent) {
    BOOL registered = gHostState.steps.registerDialogHook(gHostState.instance);
    if (!registered) {
        return registered;
    }
    return DialogBoxParamA(gHostState.instance, MAKEINTRESOURCEA(IDD_CONFIG), parent,
                           gHostState.steps.configDialogProc, 0);
}

void ChangeSaverPassword(HWND parent) {
    using ChangePasswordFunction = DWORD(WINAPI*)(LPCSTR provider, HWND parent, DWORD, void*);
    HMODULE library = LoadLibraryA("MPR.DLL");
    if (!library) {
        return;
    }
    auto change = reinterpret_cast<ChangePasswordFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "PwdChangePasswordA")));
    if (change) {
        change("SCRSAVE", parent, 0, nullptr);
    }
    FreeLibrary(library);
}
