// The screen-saver host: process entry, command-line modes, the saver window,
// its message loop and the rules that end a full-screen run.
#pragma once

#include <windows.h>

#include "windows/host/host_state.h"

// Process entry after the C runtime's start-up, with the steps the program
// drives; never returns.
[[noreturn]] void SaverEntry(const SaverSteps& steps);
int SaverMain(HINSTANCE instance, HINSTANCE previousInstance, const char* commandLine,
              int showCommand);

INT_PTR ShowConfigDialog(HWND parent);
// An exception that nothing handled: the system's notice that a saver runs
// is cleared and the process ends with -1.
[[noreturn]] void EndForEscapedException();
void ChangeSaverPassword(HWND parent);

// Full screen without a parent, a preview inside one. Returns the quit
// message's wParam, or 0 when no window was made.
int RunSaverWindow(HWND parent);

// The steps of RunSaverWindow, also used on their own by the tests.
struct SaverWindowPlan {
    HWND parent;
    int x;
    int y;
    int width;
    int height;
    DWORD style;
    DWORD extendedStyle;
    const char* title;
};
// Fills the plan and prepares the host state. False when a full-screen saver
// is already showing (it has been brought to the front instead).
bool PrepareSaverWindow(HWND parent, SaverWindowPlan& plan);
// Registers the class and creates the window; null when either fails.
HWND CreateSaverWindow(const SaverWindowPlan& plan);
// Pumps messages until the quit message; returns its wParam.
int PumpSaverMessages();

LRESULT CALLBACK SaverClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SaverDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

BOOL VerifySaverPassword(HWND window);
void LoadPasswordVerifier();
void UnloadPasswordVerifier();
void SetSaverRunning(BOOL on);

constexpr char kSaverClassName[] = "WindowsScreenSaverClass";
constexpr char kFullScreenTitle[] = "Screen Saver";
constexpr char kPreviewTitle[] = "Preview";
