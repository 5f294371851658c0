// The configuration dialog's entry points, as the host calls them.
#pragma once

#if __has_include("settings/config_dialog.h")
#include "settings/config_dialog.h"
#else
#include <windows.h>

BOOL RegisterDialogHook(HINSTANCE instance);
INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
#endif
