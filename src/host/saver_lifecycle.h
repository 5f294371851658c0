// One saver run: creation when the saver window is made, a frame on every
// timer tick, teardown when the window is destroyed.
#pragma once

#include <cstdint>

#include <windows.h>

constexpr UINT_PTR kFrameTimerId = 1;
constexpr UINT kFramePeriodMs = 10;

LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The sprite, the render states, the camera, the scene and the vertex array.
// Negative when the texture or the vertex array could not be made.
HRESULT SetupScene(int32_t count);
void RenderFrame();

// Teardown steps; each is safe when what it releases is already gone.
void ReleaseSpriteTexture();
void DestroySceneObjects();
void ReleaseDrawResources();
