// EGL on a Wayland connection: one OpenGL ES 2.0 context for every output,
// and a window surface on each output's wl_surface.
#pragma once

#include <EGL/egl.h>
#include <wayland-client.h>
#include <wayland-egl.h>

struct WlEgl {
    EGLDisplay display;
    EGLConfig config;
    EGLContext context;
};

struct WlEglSurface {
    wl_egl_window* window;
    EGLSurface surface;
};

// The display of the connection, initialised, and the context; null on
// success, else what is missing. What was made stays for CloseWlEgl.
const char* OpenWlEgl(WlEgl& egl, wl_display* display);

// Releases the context and the display; safe twice.
void CloseWlEgl(WlEgl& egl);

// A surface of width x height pixels on the wl_surface, made current, that
// swaps without waiting: the frame callbacks pace the drawing. False when it
// cannot be made; what was made stays for DestroyWlEglSurface.
bool CreateWlEglSurface(WlEglSurface& target, const WlEgl& egl, wl_surface* surface, int width,
                        int height);

void ResizeWlEglSurface(WlEglSurface& target, int width, int height);

bool MakeWlEglCurrent(const WlEgl& egl, const WlEglSurface& target);

// Shows the frame drawn; commits the wl_surface.
void SwapWlEglSurface(const WlEgl& egl, const WlEglSurface& target);

// Safe twice.
void DestroyWlEglSurface(WlEglSurface& target, const WlEgl& egl);
