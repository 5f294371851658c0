#include "wayland/wl_egl.h"

#include <EGL/eglext.h>

const char* OpenWlEgl(WlEgl& egl, wl_display* display) {
    egl.display = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, display, nullptr);
    if (egl.display == EGL_NO_DISPLAY) {
        return "no EGL display for the Wayland connection";
    }
    EGLint major = 0;
    EGLint minor = 0;
    if (eglInitialize(egl.display, &major, &minor) != EGL_TRUE) {
        egl.display = EGL_NO_DISPLAY;
        return "EGL cannot be initialised on the Wayland connection";
    }
    if (eglBindAPI(EGL_OPENGL_ES_API) != EGL_TRUE) {
        return "EGL offers no OpenGL ES";
    }
    const EGLint attributes[] = {EGL_SURFACE_TYPE,
                                 EGL_WINDOW_BIT,
                                 EGL_RENDERABLE_TYPE,
                                 EGL_OPENGL_ES2_BIT,
                                 EGL_RED_SIZE,
                                 8,
                                 EGL_GREEN_SIZE,
                                 8,
                                 EGL_BLUE_SIZE,
                                 8,
                                 EGL_NONE};
    EGLint count = 0;
    if (eglChooseConfig(egl.display, attributes, &egl.config, 1, &count) != EGL_TRUE || count < 1) {
        return "EGL has no OpenGL ES 2.0 window configuration";
    }
    const EGLint context[] = {EGL_CONTEXT_CLIENT_VERSION, 2, EGL_NONE};
    egl.context = eglCreateContext(egl.display, egl.config, EGL_NO_CONTEXT, context);
    if (egl.context == EGL_NO_CONTEXT) {
        return "EGL cannot make an OpenGL ES 2.0 context";
    }
    return nullptr;
}

void CloseWlEgl(WlEgl& egl) {
    if (egl.display != EGL_NO_DISPLAY) {
        eglMakeCurrent(egl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (egl.context != EGL_NO_CONTEXT) {
            eglDestroyContext(egl.display, egl.context);
        }
        eglTerminate(egl.display);
    }
    egl = WlEgl{EGL_NO_DISPLAY, nullptr, EGL_NO_CONTEXT};
}

bool CreateWlEglSurface(WlEglSurface& target, const WlEgl& egl, wl_surface* surface, int width,
                        int height) {
    target.window = wl_egl_window_create(surface, width, height);
    if (target.window == nullptr) {
        return false;
    }
    target.surface = eglCreateWindowSurface(
        egl.display, egl.config, reinterpret_cast<EGLNativeWindowType>(target.window), nullptr);
    if (target.surface == EGL_NO_SURFACE || !MakeWlEglCurrent(egl, target)) {
        return false;
    }
    eglSwapInterval(egl.display, 0);
    return true;
}

void ResizeWlEglSurface(WlEglSurface& target, int width, int height) {
    if (target.window != nullptr) {
        wl_egl_window_resize(target.window, width, height, 0, 0);
    }
}

bool MakeWlEglCurrent(const WlEgl& egl, const WlEglSurface& target) {
    return eglMakeCurrent(egl.display, target.surface, target.surface, egl.context) == EGL_TRUE;
}

void SwapWlEglSurface(const WlEgl& egl, const WlEglSurface& target) {
    eglSwapBuffers(egl.display, target.surface);
}

void DestroyWlEglSurface(WlEglSurface& target, const WlEgl& egl) {
    if (target.surface != EGL_NO_SURFACE && target.surface != nullptr) {
        eglMakeCurrent(egl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroySurface(egl.display, target.surface);
    }
    if (target.window != nullptr) {
        wl_egl_window_destroy(target.window);
    }
    target = WlEglSurface{nullptr, EGL_NO_SURFACE};
}
