// One saver run: creation when the saver window is made, a frame on every
// timer tick, teardown when the window is destroyed.
#pragma once

#include <cstdint>

#include <windows.h>

constexpr UINT_PTR kFrameTimerId = 1;
constexpr UINT kFramePeriodMs = 10;

LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The device of a run. The run takes the display for itself (exclusive full
// screen at the client size) when its window covers at least the full-screen
// client area, the desktop has one monitor and the adapter has a display mode
// of that size; otherwise, or when the exclusive device cannot be made, one
// windowed device covers the whole window. Returns what the last device
// creation returns.
HRESULT CreateRunDevice(HWND window, int32_t fullWidth, int32_t fullHeight, int32_t monitors,
                        uint8_t colourDepth);

// The sprite, the render states, the camera, and the snow run of the run's
// settings (its scene and vertex array). Negative when the texture or the
// vertex array could not be made; a scene that cannot be built ends the
// process with -1.
HRESULT SetupScene();
void RenderFrame();
// After a successful device reset: the render states and the camera again, on
// the current device. Nothing is created again.
void RestoreDeviceState();

// Safe when the texture is already gone.
void ReleaseSpriteTexture();
