// The X window the hack draws into, with an OpenGL context on its own
// visual: the window xscreensaver gives (or the root window), an existing
// window named by its id, or a window of the hack's own.
#pragma once

#include <string>

#include <GL/glx.h>
#include <X11/Xlib.h>

#include "linux/hack_options.h"

struct XTarget {
    Display* display;
    Window window;
    bool ownWindow; // made here: closed by the user, destroyed at the end
    Atom deleteWindow;
    GLXContext context;
    int width;
    int height;
};

// Opens the display, finds or makes the window and a context current on it.
// An empty message on success; what failed otherwise.
std::string OpenXTarget(XTarget& target, const HackOptions& options);

// What the events since the last call ask for.
struct XTargetEvents {
    bool resized; // width and height hold the new size
    bool quit;    // the window is gone, or the user closed the hack's own
};
XTargetEvents HandleXTargetEvents(XTarget& target);

// The context, the hack's own window and the display; safe to repeat.
void CloseXTarget(XTarget& target);
