#include "wayland/wl_desktop.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "fractional-scale-v1-client.h"
#include "viewporter-client.h"
#include "xdg-shell-client.h"

namespace {

// How far the pointer moves from where it entered before the run ends, as the
// Windows saver counts it.
constexpr double kPointerSlack = 4.0;

WlDesktop& DesktopOf(void* data) {
    return *static_cast<WlDesktop*>(data);
}

// The output.

void OnOutputGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                      const char*, int32_t) {}

void OnOutputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
    if ((flags & WL_OUTPUT_MODE_CURRENT) != 0) {
        WlScreen& screen = *static_cast<WlScreen*>(data);
        screen.modeWidth = width;
        screen.modeHeight = height;
        screen.sizeChanged = true;
    }
}

void OnOutputDone(void* data, wl_output*) {
    static_cast<WlScreen*>(data)->described = true;
}

void OnOutputScale(void* data, wl_output*, int32_t factor) {
    WlScreen& screen = *static_cast<WlScreen*>(data);
    screen.scale = factor > 0 ? factor : 1;
    screen.sizeChanged = true;
}

const wl_output_listener kOutputListener = [] {
    wl_output_listener listener = {};
    listener.geometry = OnOutputGeometry;
    listener.mode = OnOutputMode;
    listener.done = OnOutputDone;
    listener.scale = OnOutputScale;
    return listener;
}();

// The toplevel.

void OnWmPing(void*, xdg_wm_base* wmBase, uint32_t serial) {
    xdg_wm_base_pong(wmBase, serial);
}

const xdg_wm_base_listener kWmBaseListener = {OnWmPing};

void OnXdgSurfaceConfigure(void* data, xdg_surface* surface, uint32_t serial) {
    xdg_surface_ack_configure(surface, serial);
    static_cast<WlScreen*>(data)->configured = true;
}

const xdg_surface_listener kXdgSurfaceListener = {OnXdgSurfaceConfigure};

void OnToplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
    WlScreen& screen = *static_cast<WlScreen*>(data);
    if (width != screen.logicalWidth || height != screen.logicalHeight) {
        screen.logicalWidth = width;
        screen.logicalHeight = height;
        screen.sizeChanged = true;
    }
}

// A closed toplevel ends the whole run.
void OnToplevelClose(void* data, xdg_toplevel*) {
    static_cast<WlScreen*>(data)->desktop->ended = true;
}

const xdg_toplevel_listener kToplevelListener = [] {
    xdg_toplevel_listener listener = {};
    listener.configure = OnToplevelConfigure;
    listener.close = OnToplevelClose;
    return listener;
}();

// The scale the compositor prefers for a surface, in 120ths.

void OnPreferredScale(void* data, wp_fractional_scale_v1*, uint32_t scale) {
    WlScreen& screen = *static_cast<WlScreen*>(data);
    if (scale != screen.preferredScale120) {
        screen.preferredScale120 = scale;
        screen.sizeChanged = true;
    }
}

const wp_fractional_scale_v1_listener kFractionalScaleListener = {OnPreferredScale};

// The frame callback.

void OnFrameDone(void* data, wl_callback* callback, uint32_t) {
    WlScreen& screen = *static_cast<WlScreen*>(data);
    wl_callback_destroy(callback);
    screen.frame = nullptr;
    screen.frameDue = true;
}

const wl_callback_listener kFrameListener = {OnFrameDone};

// Input: anything but a small move of the pointer ends the run.

void OnKeymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) {
    close(fd);
}
void OnKeyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}
void OnKeyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface*) {}
void OnKey(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t state) {
    if (state == WL_KEYBOARD_KEY_STATE_PRESSED) {
        DesktopOf(data).ended = true;
    }
}
void OnModifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void OnRepeatInfo(void*, wl_keyboard*, int32_t, int32_t) {}

const wl_keyboard_listener kKeyboardListener = {OnKeymap, OnKeyboardEnter, OnKeyboardLeave,
                                                OnKey,    OnModifiers,     OnRepeatInfo};

void OnPointerEnter(void* data, wl_pointer* pointer, uint32_t serial, wl_surface*, wl_fixed_t x,
                    wl_fixed_t y) {
    WlDesktop& desktop = DesktopOf(data);
    wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0); // no cursor over the snow
    desktop.enterX = wl_fixed_to_double(x);
    desktop.enterY = wl_fixed_to_double(y);
}
void OnPointerLeave(void*, wl_pointer*, uint32_t, wl_surface*) {}
void OnPointerMotion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
    WlDesktop& desktop = DesktopOf(data);
    // The horizontal plus the vertical distance, as the saver adds them.
    if (std::fabs(wl_fixed_to_double(x) - desktop.enterX) +
            std::fabs(wl_fixed_to_double(y) - desktop.enterY) >
        kPointerSlack) {
        desktop.ended = true;
    }
}
void OnButton(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state) {
    if (state == WL_POINTER_BUTTON_STATE_PRESSED) {
        DesktopOf(data).ended = true;
    }
}
void OnAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
void OnPointerFrame(void*, wl_pointer*) {}
void OnAxisSource(void*, wl_pointer*, uint32_t) {}
void OnAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void OnAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}

const wl_pointer_listener kPointerListener = [] {
    wl_pointer_listener listener = {};
    listener.enter = OnPointerEnter;
    listener.leave = OnPointerLeave;
    listener.motion = OnPointerMotion;
    listener.button = OnButton;
    listener.axis = OnAxis;
    listener.frame = OnPointerFrame;
    listener.axis_source = OnAxisSource;
    listener.axis_stop = OnAxisStop;
    listener.axis_discrete = OnAxisDiscrete;
    return listener;
}();

void OnTouchDown(void* data, wl_touch*, uint32_t, uint32_t, wl_surface*, int32_t, wl_fixed_t,
                 wl_fixed_t) {
    DesktopOf(data).ended = true;
}
void OnTouchUp(void*, wl_touch*, uint32_t, uint32_t, int32_t) {}
void OnTouchMotion(void*, wl_touch*, uint32_t, int32_t, wl_fixed_t, wl_fixed_t) {}
void OnTouchFrame(void*, wl_touch*) {}
void OnTouchCancel(void*, wl_touch*) {}

const wl_touch_listener kTouchListener = [] {
    wl_touch_listener listener = {};
    listener.down = OnTouchDown;
    listener.up = OnTouchUp;
    listener.motion = OnTouchMotion;
    listener.frame = OnTouchFrame;
    listener.cancel = OnTouchCancel;
    return listener;
}();

void ReleaseSeatDevices(WlSeat& seat, uint32_t kept) {
    if (seat.keyboard != nullptr && (kept & WL_SEAT_CAPABILITY_KEYBOARD) == 0) {
        wl_keyboard_destroy(seat.keyboard);
        seat.keyboard = nullptr;
    }
    if (seat.pointer != nullptr && (kept & WL_SEAT_CAPABILITY_POINTER) == 0) {
        wl_pointer_destroy(seat.pointer);
        seat.pointer = nullptr;
    }
    if (seat.touch != nullptr && (kept & WL_SEAT_CAPABILITY_TOUCH) == 0) {
        wl_touch_destroy(seat.touch);
        seat.touch = nullptr;
    }
}

// The devices follow the seat's: a keyboard plugged in later is heard too.
void OnSeatCapabilities(void* data, wl_seat*, uint32_t capabilities) {
    WlSeat& seat = *static_cast<WlSeat*>(data);
    WlDesktop* desktop = seat.desktop;
    ReleaseSeatDevices(seat, capabilities);
    if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0 && seat.keyboard == nullptr) {
        seat.keyboard = wl_seat_get_keyboard(seat.seat);
        wl_keyboard_add_listener(seat.keyboard, &kKeyboardListener, desktop);
    }
    if ((capabilities & WL_SEAT_CAPABILITY_POINTER) != 0 && seat.pointer == nullptr) {
        seat.pointer = wl_seat_get_pointer(seat.seat);
        wl_pointer_add_listener(seat.pointer, &kPointerListener, desktop);
    }
    if ((capabilities & WL_SEAT_CAPABILITY_TOUCH) != 0 && seat.touch == nullptr) {
        seat.touch = wl_seat_get_touch(seat.seat);
        wl_touch_add_listener(seat.touch, &kTouchListener, desktop);
    }
}
void OnSeatName(void*, wl_seat*, const char*) {}

const wl_seat_listener kSeatListener = {OnSeatCapabilities, OnSeatName};

// The registry.

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
              uint32_t version) {
    WlDesktop& desktop = DesktopOf(data);
    const std::string kind = interface;
    if (kind == wl_compositor_interface.name && desktop.compositor == nullptr) {
        desktop.compositor = static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, std::min(version, 4u)));
    } else if (kind == xdg_wm_base_interface.name && desktop.wmBase == nullptr) {
        desktop.wmBase =
            static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, 1));
        xdg_wm_base_add_listener(desktop.wmBase, &kWmBaseListener, &desktop);
    } else if (kind == wp_fractional_scale_manager_v1_interface.name &&
               desktop.fractionalScale == nullptr) {
        desktop.fractionalScale = static_cast<wp_fractional_scale_manager_v1*>(
            wl_registry_bind(registry, name, &wp_fractional_scale_manager_v1_interface, 1));
    } else if (kind == wp_viewporter_interface.name && desktop.viewporter == nullptr) {
        desktop.viewporter = static_cast<wp_viewporter*>(
            wl_registry_bind(registry, name, &wp_viewporter_interface, 1));
    } else if (kind == wl_seat_interface.name) {
        std::unique_ptr<WlSeat> seat(new WlSeat{});
        seat->desktop = &desktop;
        seat->seat = static_cast<wl_seat*>(
            wl_registry_bind(registry, name, &wl_seat_interface, std::min(version, 5u)));
        wl_seat_add_listener(seat->seat, &kSeatListener, seat.get());
        desktop.seats.push_back(std::move(seat));
    } else if (kind == wl_output_interface.name && version >= 2) {
        std::unique_ptr<WlScreen> screen(new WlScreen{});
        screen->name = name;
        screen->scale = 1;
        screen->desktop = &desktop;
        screen->output = static_cast<wl_output*>(
            wl_registry_bind(registry, name, &wl_output_interface, std::min(version, 3u)));
        wl_output_add_listener(screen->output, &kOutputListener, screen.get());
        desktop.screens.push_back(std::move(screen));
    }
}

void OnGlobalRemove(void* data, wl_registry*, uint32_t name) {
    WlDesktop& desktop = DesktopOf(data);
    for (auto it = desktop.screens.begin(); it != desktop.screens.end(); ++it) {
        if ((*it)->name == name) {
            ReleaseWlScreen(desktop, **it);
            desktop.screens.erase(it);
            return;
        }
    }
}

const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

} // namespace

std::string OpenWlDesktop(WlDesktop& desktop) {
    // libwayland would fall back on wayland-0, and say on its own that
    // XDG_RUNTIME_DIR is missing: the cause is told here in one line.
    const char* socket = std::getenv("WAYLAND_DISPLAY");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (socket == nullptr || *socket == '\0') {
        return "no Wayland compositor: WAYLAND_DISPLAY is not set";
    }
    if (*socket != '/' && (runtime == nullptr || *runtime == '\0')) {
        return std::string("no Wayland compositor: XDG_RUNTIME_DIR, where the socket ") + socket +
               " would be, is not set";
    }
    desktop.display = wl_display_connect(nullptr);
    if (desktop.display == nullptr) {
        return std::string("no Wayland compositor at WAYLAND_DISPLAY=") + socket;
    }
    desktop.registry = wl_display_get_registry(desktop.display);
    wl_registry_add_listener(desktop.registry, &kRegistryListener, &desktop);
    if (wl_display_roundtrip(desktop.display) < 0 || wl_display_roundtrip(desktop.display) < 0) {
        return "the Wayland compositor closed the connection";
    }
    if (desktop.compositor == nullptr || desktop.wmBase == nullptr) {
        return "the Wayland compositor offers no xdg-shell toplevels";
    }
    return "";
}

void ReleaseWlScreen(WlDesktop& desktop, WlScreen& screen) {
    if (!screen.started || !MakeWlEglCurrent(desktop.egl, screen.egl)) {
        DropGlSnowDrawing(screen.snow); // no context to release it through
    }
    EndGlSnow(screen.snow);
    DestroyWlEglSurface(screen.egl, desktop.egl);
    screen.started = false;
    if (screen.frame != nullptr) {
        wl_callback_destroy(screen.frame);
        screen.frame = nullptr;
    }
    if (screen.fractional != nullptr) {
        wp_fractional_scale_v1_destroy(screen.fractional);
        screen.fractional = nullptr;
    }
    if (screen.viewport != nullptr) {
        wp_viewport_destroy(screen.viewport);
        screen.viewport = nullptr;
    }
    if (screen.toplevel != nullptr) {
        xdg_toplevel_destroy(screen.toplevel);
        screen.toplevel = nullptr;
    }
    if (screen.xdgSurface != nullptr) {
        xdg_surface_destroy(screen.xdgSurface);
        screen.xdgSurface = nullptr;
    }
    if (screen.surface != nullptr) {
        wl_surface_destroy(screen.surface);
        screen.surface = nullptr;
    }
    if (screen.output != nullptr) {
        if (wl_output_get_version(screen.output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
            wl_output_release(screen.output);
        } else {
            wl_output_destroy(screen.output);
        }
        screen.output = nullptr;
    }
}

void CoverWlOutputs(WlDesktop& desktop) {
    for (auto& each : desktop.screens) {
        WlScreen& screen = *each;
        if (!screen.described || screen.surface != nullptr) {
            continue;
        }
        screen.surface = wl_compositor_create_surface(desktop.compositor);
        // Both or neither: a buffer of the fractional size needs a viewport.
        if (desktop.fractionalScale != nullptr && desktop.viewporter != nullptr) {
            screen.fractional = wp_fractional_scale_manager_v1_get_fractional_scale(
                desktop.fractionalScale, screen.surface);
            wp_fractional_scale_v1_add_listener(screen.fractional, &kFractionalScaleListener,
                                                &screen);
            screen.viewport = wp_viewporter_get_viewport(desktop.viewporter, screen.surface);
        }
        screen.xdgSurface = xdg_wm_base_get_xdg_surface(desktop.wmBase, screen.surface);
        xdg_surface_add_listener(screen.xdgSurface, &kXdgSurfaceListener, &screen);
        screen.toplevel = xdg_surface_get_toplevel(screen.xdgSurface);
        xdg_toplevel_add_listener(screen.toplevel, &kToplevelListener, &screen);
        xdg_toplevel_set_title(screen.toplevel, "Quillfrost");
        xdg_toplevel_set_app_id(screen.toplevel, "quillfrost");
        xdg_toplevel_set_fullscreen(screen.toplevel, screen.output);
        wl_surface_commit(screen.surface);
    }
}

void WlScreenPixels(const WlScreen& screen, int32_t& width, int32_t& height) {
    if (screen.logicalWidth > 0 && screen.logicalHeight > 0 && screen.viewport != nullptr &&
        screen.preferredScale120 > 0) {
        // Rounded half away from zero, as the compositor rounds it.
        width = static_cast<int32_t>(
            (static_cast<int64_t>(screen.logicalWidth) * screen.preferredScale120 + 60) / 120);
        height = static_cast<int32_t>(
            (static_cast<int64_t>(screen.logicalHeight) * screen.preferredScale120 + 60) / 120);
    } else if (screen.logicalWidth > 0 && screen.logicalHeight > 0) {
        width = screen.logicalWidth * screen.scale;
        height = screen.logicalHeight * screen.scale;
    } else {
        width = screen.modeWidth > 0 ? screen.modeWidth : 640;
        height = screen.modeHeight > 0 ? screen.modeHeight : 480;
    }
}

void ApplyWlScreenScale(WlScreen& screen) {
    if (screen.viewport != nullptr && screen.preferredScale120 > 0 && screen.logicalWidth > 0 &&
        screen.logicalHeight > 0) {
        wl_surface_set_buffer_scale(screen.surface, 1);
        wp_viewport_set_destination(screen.viewport, screen.logicalWidth, screen.logicalHeight);
        return;
    }
    if (screen.viewport != nullptr) {
        wp_viewport_set_destination(screen.viewport, -1, -1); // no viewport
    }
    wl_surface_set_buffer_scale(screen.surface, screen.scale);
}

void RequestWlFrame(WlScreen& screen) {
    if (screen.frame == nullptr) {
        screen.frame = wl_surface_frame(screen.surface);
        wl_callback_add_listener(screen.frame, &kFrameListener, &screen);
    }
}

void CloseWlDesktop(WlDesktop& desktop) {
    for (auto& screen : desktop.screens) {
        ReleaseWlScreen(desktop, *screen);
    }
    desktop.screens.clear();
    CloseWlEgl(desktop.egl);
    for (auto& seat : desktop.seats) {
        ReleaseSeatDevices(*seat, 0);
        wl_seat_destroy(seat->seat);
    }
    desktop.seats.clear();
    if (desktop.wmBase != nullptr) {
        xdg_wm_base_destroy(desktop.wmBase);
        desktop.wmBase = nullptr;
    }
    if (desktop.fractionalScale != nullptr) {
        wp_fractional_scale_manager_v1_destroy(desktop.fractionalScale);
        desktop.fractionalScale = nullptr;
    }
    if (desktop.viewporter != nullptr) {
        wp_viewporter_destroy(desktop.viewporter);
        desktop.viewporter = nullptr;
    }
    if (desktop.compositor != nullptr) {
        wl_compositor_destroy(desktop.compositor);
        desktop.compositor = nullptr;
    }
    if (desktop.registry != nullptr) {
        wl_registry_destroy(desktop.registry);
        desktop.registry = nullptr;
    }
    if (desktop.display != nullptr) {
        wl_display_disconnect(desktop.display);
        desktop.display = nullptr;
    }
}
