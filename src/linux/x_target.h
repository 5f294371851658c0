// The X window the hack draws into, with an OpenGL context on its visual:
// the window xscreensaver gives (or the root window), an existing window named
// by its id, or a window of the hack's own.
//
// Another program's window may be destroyed at any moment, also while a
// frame is drawn, and OpenGL drivers do not all survive their drawable going
// (Mesa's software path sizes its buffers from a failed XGetGeometry). So
// OpenGL never draws into such a window: it draws into a pixmap of the hack's
// own, which PresentXTarget copies into the window with the core protocol,
// where a window that is gone only brings an X error.
#pragma once

#include <string>

#include <GL/glx.h>
#include <X11/Xlib.h>

#include "linux/hack_options.h"

struct XTarget {
    Display* display;
    Window window;  // the window shown
    bool ownWindow; // made here: closed by the user, destroyed at the end
    Atom deleteWindow;
    GLXContext context;
    XVisualInfo visual; // the visual OpenGL draws with
    // Where OpenGL draws into another program's window: a pixmap of the
    // window's size and depth, and the GC that copies it; 0 for the hack's
    // own window, which OpenGL draws into itself.
    Pixmap pixmap;
    GLXPixmap glxPixmap;
    GC copyGc;
    int width; // of the window, and of what OpenGL draws
    int height;
    int maxWidth; // the largest drawable OpenGL draws into here
    int maxHeight;
};

// Opens the display, finds or makes the window and a context current on what
// OpenGL draws into. An empty message on success; what failed otherwise.
std::string OpenXTarget(XTarget& target, const HackOptions& options);

// What the events since the last call ask for.
struct XTargetEvents {
    bool resized; // width and height hold the new size
    bool quit;    // the window is gone, or the user closed the hack's own
};
// Reads whatever the connection has brought, without waiting.
XTargetEvents HandleXTargetEvents(XTarget& target);

// Shows the frame just drawn: the swap of the hack's own window, or the copy
// of the pixmap into another program's window.
void PresentXTarget(XTarget& target);

// The context, the pixmap, the hack's own window and the display; safe to
// repeat.
void CloseXTarget(XTarget& target);
