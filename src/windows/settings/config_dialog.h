// The configuration dialog (template 2003): the host calls RegisterDialogHook
// and then runs ConfigDialogProc through DialogBoxParamA.
#pragma once

#include <windows.h>

BOOL RegisterDialogHook(HINSTANCE instance);
INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
