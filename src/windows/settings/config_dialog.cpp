#include "windows/settings/config_dialog.h"

#include <commctrl.h>

#include "resource_ids.h"
#include "windows/settings/settings_store.h"

namespace {

constexpr LPARAM kTrackBarMax = 100;
constexpr WPARAM kTickFrequency = 10;

// Both track bars run over 0..100, one position per percentage.
void ShowOnTrackBar(HWND trackBar, float setting) {
    SendMessageA(trackBar, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageA(trackBar, TBM_SETRANGEMAX, FALSE, kTrackBarMax);
    SendMessageA(trackBar, TBM_SETTICFREQ, kTickFrequency, 0);
    SendMessageA(trackBar, TBM_SETPOS, TRUE, static_cast<LPARAM>(FractionToPercent(setting)));
}

// A position above 100 (as unsigned, so any negative one too) reads as 0.5.
float ReadTrackBar(HWND trackBar) {
    const auto position = static_cast<uint32_t>(SendMessageA(trackBar, TBM_GETPOS, 0, 0));
    return PercentToFraction(ClampStoredPercent(position));
}

// Any state other than unchecked counts as on.
uint8_t ReadCheckBox(HWND checkBox) {
    return SendMessageA(checkBox, BM_GETCHECK, 0, 0) != BST_UNCHECKED ? 1 : 0;
}

void SetCheckBox(HWND checkBox, bool on) {
    SendMessageA(checkBox, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void InitDialog(HWND dialog) {
    LoadSettings();
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES | ICC_USEREX_CLASSES;
    InitCommonControlsEx(&controls);
    HWND quantity = GetDlgItem(dialog, IDC_QUANTITY);
    HWND speed = GetDlgItem(dialog, IDC_SPEED);
    HWND fractalWind = GetDlgItem(dialog, IDC_FRACTAL_WIND);
    ShowOnTrackBar(quantity, gSettings.Quantity);
    ShowOnTrackBar(speed, gSettings.Speed);
    SetCheckBox(fractalWind, gSettings.FractalWind != 0);
}

void AcceptDialog(HWND dialog) {
    gSettings.Quantity = ReadTrackBar(GetDlgItem(dialog, IDC_QUANTITY));
    gSettings.Speed = ReadTrackBar(GetDlgItem(dialog, IDC_SPEED));
    gSettings.FractalWind = ReadCheckBox(GetDlgItem(dialog, IDC_FRACTAL_WIND));
    SaveSettings();
    EndDialog(dialog, TRUE);
}

// Only the controls go back to the defaults; the settings follow on OK.
void ResetControls(HWND dialog) {
    SendMessageA(GetDlgItem(dialog, IDC_QUANTITY), TBM_SETPOS, TRUE, kDefaultPercent);
    SendMessageA(GetDlgItem(dialog, IDC_SPEED), TBM_SETPOS, TRUE, kDefaultPercent);
    SetCheckBox(GetDlgItem(dialog, IDC_FRACTAL_WIND), true);
}

INT_PTR HandleDialogMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
    case WM_INITDIALOG:
        InitDialog(dialog);
        return TRUE; // the focus goes to the first tab stop, OK
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            AcceptDialog(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, FALSE);
            return TRUE;
        case IDC_RESET:
            ResetControls(dialog);
            return TRUE;
        case IDC_FRACTAL_WIND:
            gSettings.FractalWind = ReadCheckBox(GetDlgItem(dialog, IDC_FRACTAL_WIND));
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

} // namespace

BOOL RegisterDialogHook(HINSTANCE) {
    return TRUE;
}

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    // No C++ exception unwinds through the dialog manager: the dialog ends as
    // Cancel does, storing nothing.
    try {
        return HandleDialogMessage(dialog, message, wParam);
    } catch (...) {
        EndDialog(dialog, FALSE);
        return TRUE;
    }
}
