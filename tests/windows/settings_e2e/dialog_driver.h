// Quillfrost.scr's configuration dialog seen from another process: its
// controls read with messages, and changed only with real mouse and keyboard
// input through the system's input queue.
#pragma once

#include <optional>

#include <windows.h>

struct ConfigDialogWindow {
    HWND dialog = nullptr;
    HWND particles = nullptr; // track bar 1000
    HWND wind = nullptr;      // track bar 1002
    HWND fractalWind = nullptr;
    HWND ok = nullptr;
};

// The dialog titled "Palewisp Setup" of the process and its controls; the
// dialog member stays null when it did not show within the time.
ConfigDialogWindow WaitForConfigDialog(DWORD processId, DWORD timeoutMs);

// TBM_GETPOS of a track bar, nothing when the dialog did not answer.
std::optional<LRESULT> TrackBarPosition(HWND trackBar);
// BM_GETCHECK of a check box, nothing when the dialog did not answer.
std::optional<LRESULT> CheckState(HWND box);
// The window that has the keyboard focus in the control's thread.
HWND FocusOf(HWND control);

// A real left click at the point of the control's client area.
bool ClickControlAt(HWND control, int clientX, int clientY);
// A real left click in the middle of the control.
bool ClickControl(HWND control);
// Clicks the track bar (which gives it the focus) and waits until it has it.
bool FocusTrackBar(HWND trackBar, DWORD timeoutMs);
// Presses a key and waits until the track bar shows the position.
bool PressKeyUntilPosition(HWND trackBar, WORD virtualKey, LRESULT position, DWORD timeoutMs);
