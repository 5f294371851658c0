// The process-wide state of the screen-saver host: the window, the mode
// flags, the optional system libraries and what the closing rules remember.
#pragma once

#include <cstdint>

#include <windows.h>

#include "windows/host/saver_steps.h"

// "VerifyScreenSavePwd" of PASSWORD.CPL: nonzero when the password was given.
using VerifyPasswordFunction = BOOL(WINAPI*)(HWND window);
// "ImmAssociateContext" of IMM32.DLL.
using AssociateContextFunction = HANDLE(WINAPI*)(HWND window, HANDLE context);

constexpr DWORD kNoPasswordCheckYet = 0xFFFFFFFFu;
constexpr uint8_t kUnknownLineStatus = 255;
// A full-screen run ends when the cursor gets further than this from where it
// was remembered (|dx| + |dy|).
constexpr int32_t kMouseMoveThreshold = 4;
// A refused password is not asked again within this many milliseconds.
constexpr DWORD kPasswordRecheckMs = 200;
// The private message by which the password check asks the verifier.
constexpr UINT kVerifyPasswordMessage = 0x8000;

struct HostState {
    SaverSteps steps = {}; // what a run drives; filled before SaverMain
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    uint8_t preview = 0;          // the window lives inside a parent
    uint8_t oldSystem = 0;        // the Windows 95 family
    uint8_t closing = 0;          // the run has been cleared to end
    uint8_t checkingPassword = 0; // a password check is in progress
    HMODULE passwordLibrary = nullptr;
    VerifyPasswordFunction verifyPassword = nullptr;
    UINT queryCancelAutoPlay = 0; // registered message, 0 when none
    HMODULE inputMethodLibrary = nullptr;
    AssociateContextFunction associateContext = nullptr;
    HANDLE savedInputContext = nullptr;
    POINT cursor = {0, 0}; // remembered cursor position, screen pixels
    uint8_t acLineStatus = kUnknownLineStatus;
    DWORD lastPasswordCheck = kNoPasswordCheckYet;
};

extern HostState gHostState;
