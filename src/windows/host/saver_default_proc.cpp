#include "windows/host/saver_host.h"

#include <cstdlib>

namespace {

// Power events by WM_POWERBROADCAST's wParam.
constexpr WPARAM kPowerResumeCritical = 6;   // PBT_APMRESUMECRITICAL
constexpr WPARAM kPowerResumeSuspend = 7;    // PBT_APMRESUMESUSPEND
constexpr WPARAM kPowerResumeStandby = 8;    // PBT_APMRESUMESTANDBY
constexpr WPARAM kPowerStatusChange = 10;    // PBT_APMPOWERSTATUSCHANGE
constexpr WPARAM kPowerResumeAutomatic = 18; // PBT_APMRESUMEAUTOMATIC
constexpr LPARAM kResumeFromFailure = 1;     // PBTF_APMRESUMEFROMFAILURE
constexpr WPARAM kPowerCriticalResume = 3;   // PWR_CRITICALRESUME of WM_POWER

void PostClose(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
}

uint8_t CurrentLineStatus() {
    SYSTEM_POWER_STATUS status = {};
    return GetSystemPowerStatus(&status) ? status.ACLineStatus : kUnknownLineStatus;
}

bool PowerBroadcastEndsRun(WPARAM event, LPARAM data) {
    switch (event) {
    case kPowerResumeCritical:
    case kPowerResumeSuspend:
    case kPowerResumeStandby:
    case kPowerResumeAutomatic:
        return (data & kResumeFromFailure) == 0;
    case kPowerStatusChange: {
        uint8_t now = CurrentLineStatus();
        bool changed = now != gHostState.acLineStatus;
        gHostState.acLineStatus = now;
        return changed;
    }
    default:
        // The query, suspend and standby events below 6, and any other event.
        return true;
    }
}

// The cursor has left the neighbourhood of the remembered position.
bool CursorMovedAway() {
    POINT now = {};
    GetCursorPos(&now);
    long distance = std::labs(static_cast<long>(now.x) - gHostState.cursor.x) +
                    std::labs(static_cast<long>(now.y) - gHostState.cursor.y);
    if (distance > kMouseMoveThreshold) {
        gHostState.cursor = now;
        return true;
    }
    return false;
}

// The closing rules of a full-screen run. Returns true when the message has
// been answered (in *result); false to carry on with the default handling.
bool ApplyClosingRules(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        PostClose(window);
        break;
    case WM_MOUSEMOVE:
        if (CursorMovedAway()) {
            PostClose(window);
        }
        break;
    case WM_ACTIVATEAPP:
        if (wParam == FALSE) {
            PostClose(window);
        }
        break;
    case WM_POWER:
        if (wParam == kPowerCriticalResume) {
            PostClose(window);
        }
        break;
    case WM_POWERBROADCAST:
        if (PowerBroadcastEndsRun(wParam, lParam)) {
            PostClose(window);
        }
        break;
    case WM_SHOWWINDOW:
        if (wParam) {
            SetCursor(nullptr);
        }
        break;
    case WM_SETCURSOR:
        SetCursor(nullptr);
        *result = TRUE;
        return true;
    default:
        break;
    }
    return false;
}

} // namespace

LRESULT SaverDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!gHostState.preview && !gHostState.closing) {
        if (message == WM_CLOSE) {
            if (gHostState.oldSystem && !VerifySaverPassword(window)) {
                GetCursorPos(&gHostState.cursor);
                return 0;
            }
        } else if (message == kVerifyPasswordMessage && gHostState.oldSystem) {
            return gHostState.verifyPassword ? gHostState.verifyPassword(window) : 1;
        } else if (!gHostState.checkingPassword) {
            LRESULT result = 0;
            if (ApplyClosingRules(window, message, wParam, lParam, &result)) {
                return result;
            }
        }
    }
    if (gHostState.queryCancelAutoPlay != 0 && message == gHostState.queryCancelAutoPlay) {
        PostClose(window);
        return gHostState.verifyPassword ? 1 : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
