#include "dialog_driver.h"

#include <commctrl.h>

#include "support/desktop_input.h"
#include "support/saver_process.h"

namespace {

constexpr UINT kAnswerMs = 5000;

std::optional<LRESULT> Ask(HWND control, UINT message) {
    DWORD_PTR answer = 0;
    if (!control ||
        !SendMessageTimeoutA(control, message, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &answer)) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(answer);
}

} // namespace

ConfigDialogWindow WaitForConfigDialog(DWORD processId, DWORD timeoutMs) {
    ConfigDialogWindow window;
    HWND dialog = qf_test::WaitForTopLevelWindow(processId, "#32770", "Palewisp Setup", timeoutMs);
    if (!dialog) {
        return window;
    }
    window.dialog = dialog;
    window.particles = GetDlgItem(dialog, 1000);
    window.wind = GetDlgItem(dialog, 1002);
    window.fractalWind = GetDlgItem(dialog, 1021);
    window.ok = GetDlgItem(dialog, IDOK);
    return window;
}

std::optional<LRESULT> TrackBarPosition(HWND trackBar) {
    return Ask(trackBar, TBM_GETPOS);
}

std::optional<LRESULT> CheckState(HWND box) {
    return Ask(box, BM_GETCHECK);
}

HWND FocusOf(HWND control) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(control, nullptr), &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

bool ClickControlAt(HWND control, int clientX, int clientY) {
    POINT point = {clientX, clientY};
    if (!ClientToScreen(control, &point) || !qf_test::MoveCursorTo(point.x, point.y)) {
        return false;
    }
    return qf_test::ClickLeft();
}

bool ClickControl(HWND control) {
    RECT client = {};
    GetClientRect(control, &client);
    return ClickControlAt(control, client.right / 2, client.bottom / 2);
}

bool FocusTrackBar(HWND trackBar, DWORD timeoutMs) {
    // The middle of the bar is where the thumb of position 50 sits; a click
    // beside the thumb pages the bar instead, which the caller's absolute
    // keys (Home, End) undo.
    if (!ClickControl(trackBar)) {
        return false;
    }
    return qf_test::WaitUntil([trackBar] { return FocusOf(trackBar) == trackBar; }, timeoutMs);
}

bool PressKeyUntilPosition(HWND trackBar, WORD virtualKey, LRESULT position, DWORD timeoutMs) {
    if (!qf_test::PressKey(virtualKey)) {
        return false;
    }
    return qf_test::WaitUntil(
        [trackBar, position] { return TrackBarPosition(trackBar) == position; }, timeoutMs);
}
