// The wait of lost-device recovery, replaceable by tests.
#pragma once

#include <windows.h>

using LostDeviceSleepFunction = void (*)(DWORD milliseconds);

// Replaces the wait of a lost-device frame; null restores the real Sleep.
void SetLostDeviceSleep(LostDeviceSleepFunction sleep);
