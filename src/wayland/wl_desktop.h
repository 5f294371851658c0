// The Wayland desktop as the program sees it: the connection, the globals it
// binds, a full-screen xdg_toplevel on every output (made when the output has
// described itself, dropped when it goes), and the seats' input, which ends
// the run: a key, a button, a touch, or the pointer moved more than 4 pixels
// from where it entered.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <wayland-client.h>

#include "gl/gl_snow.h"
#include "wayland/wl_egl.h"

struct xdg_wm_base;
struct xdg_surface;
struct xdg_toplevel;
struct wp_fractional_scale_manager_v1;
struct wp_fractional_scale_v1;
struct wp_viewporter;
struct wp_viewport;

struct WlDesktop;

// One output, its surface and its snow.
struct WlScreen {
    WlDesktop* desktop;
    wl_output* output;
    uint32_t name;     // the output's global, as the registry names it
    int32_t scale;     // the output's integer scale
    int32_t modeWidth; // its current mode, in pixels
    int32_t modeHeight;
    bool described; // the output's first done came
    wl_surface* surface;
    xdg_surface* xdgSurface;
    xdg_toplevel* toplevel;
    int32_t logicalWidth; // the toplevel's size as configured, 0 when left to us
    int32_t logicalHeight;
    // Where the compositor offers fractional scales: the scale it prefers for
    // the surface, in 120ths (0 until it says), and the viewport that shows
    // a buffer of that many pixels at the surface's size.
    wp_fractional_scale_v1* fractional;
    wp_viewport* viewport;
    uint32_t preferredScale120;
    bool configured;  // a configure was acknowledged
    bool sizeChanged; // the surface must follow a new size or scale
    WlEglSurface egl;
    GlSnow snow;
    bool started;       // the snow and the EGL surface are made
    bool ahead;         // the run is moved ahead: frames are drawn
    wl_callback* frame; // the compositor's call for the next frame
    bool frameDue;
};

// A seat and the devices it has now.
struct WlSeat {
    WlDesktop* desktop;
    wl_seat* seat;
    wl_keyboard* keyboard;
    wl_pointer* pointer;
    wl_touch* touch;
};

struct WlDesktop {
    wl_display* display;
    wl_registry* registry;
    wl_compositor* compositor;
    xdg_wm_base* wmBase;
    wp_fractional_scale_manager_v1* fractionalScale; // null where not offered
    wp_viewporter* viewporter;
    std::vector<std::unique_ptr<WlSeat>> seats;
    std::vector<std::unique_ptr<WlScreen>> screens;
    WlEgl egl;
    bool ended;    // input, a closed toplevel or a lost connection
    double enterX; // where the pointer entered, in surface pixels
    double enterY;
};

// Connects to $WAYLAND_DISPLAY and binds the globals, with two round trips
// (the outputs describe themselves in the second). Empty on success, else
// the cause in one line; what was made stays for CloseWlDesktop.
std::string OpenWlDesktop(WlDesktop& desktop);

// Releases every screen, the EGL context and display, the input, the globals
// and the connection, in that order. Safe twice.
void CloseWlDesktop(WlDesktop& desktop);

// Releases one screen's snow (with its context current), surface and output.
void ReleaseWlScreen(WlDesktop& desktop, WlScreen& screen);

// Makes the full-screen toplevel of every described output that has none.
void CoverWlOutputs(WlDesktop& desktop);

// The pixel size a screen draws at: its configured size times its scale (the
// preferred fractional one where the compositor gives it, else the
// output's), or its mode when the compositor left the size to us.
void WlScreenPixels(const WlScreen& screen, int32_t& width, int32_t& height);

// Tells the compositor how the screen's buffer maps onto its surface: a
// viewport of the surface's size for a fractional scale, else the output's
// integer buffer scale.
void ApplyWlScreenScale(WlScreen& screen);

// Asks the compositor for the screen's next frame, before the swap.
void RequestWlFrame(WlScreen& screen);
