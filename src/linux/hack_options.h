// The command line of the quillfrost hack, as xscreensaver and its users
// give it. Plain text handling, tested natively.
#pragma once

#include <cstdint>
#include <string>

enum class HackTarget {
    Own,      // a window of its own, 1024 x 768
    Root,     // $XSCREENSAVER_WINDOW, else the root window
    WindowId, // an existing window given by its id
};

// The size and place of the hack's own window, as X writes a geometry.
struct HackGeometry {
    int mask; // XParseGeometry's flags for the parts given; 0 without -geometry
    int x;
    int y;
    unsigned width;
    unsigned height;
};

struct HackOptions {
    HackTarget target;
    unsigned long windowId;     // with --window-id
    uint32_t quantityPercent;   // 0..100, as the Windows dialog's Particles
    uint32_t speedPercent;      // 0..100, as its Wind
    uint8_t fractalWind;        // as its Fractal Wind box
    uint32_t delayMicroseconds; // between frames
    bool fps;                   // the frame rate on the picture and on standard error
    bool help;
    bool version;
    const char* displayName; // -display, else null for $DISPLAY
    HackGeometry geometry;   // -geometry, for the hack's own window
};

extern const char kHackUsage[];

// Fills options from argv (defaults: own window, 50, 50, fractal wind on,
// 10000 us). On a bad value or an unknown option returns false with a
// one-line message naming it in error. Options take one or two dashes.
// -visual and -install, which the framework passes to every display mode,
// are checked and take no effect: the hack draws with the visual of the
// window it is given, or one it chooses, and needs no colormap of its own.
bool ParseHackOptions(int argc, const char* const* argv, HackOptions& options, std::string& error);

// A window id as X tools write it: hexadecimal with 0x, else decimal. False
// for anything else (empty, signs, trailing text, too large).
bool ParseWindowId(const char* text, unsigned long& id);
