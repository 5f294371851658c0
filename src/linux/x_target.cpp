#include "linux/x_target.h"

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

#include <GL/gl.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace {

constexpr int kOwnWidth = 1024;
constexpr int kOwnHeight = 768;

// The window drawn into, and whether the server reported it gone: a window
// of another program may go at any moment.
Window gWatchedWindow = 0;
bool gWindowGone = false;

int RecordXError(Display*, XErrorEvent* error) {
    if ((error->error_code == BadWindow || error->error_code == BadDrawable) &&
        error->resourceid == gWatchedWindow) {
        gWindowGone = true;
    }
    return 0;
}

std::string Hex(unsigned long id) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", id);
    return text;
}

// The window xscreensaver names in $XSCREENSAVER_WINDOW, else the root.
Window RootTarget(Display* display) {
    unsigned long id = 0;
    const char* named = std::getenv("XSCREENSAVER_WINDOW");
    if (named != nullptr && ParseWindowId(named, id) && id != 0) {
        return static_cast<Window>(id);
    }
    return DefaultRootWindow(display);
}

// A double-buffered RGBA window visual for the hack's own window.
bool ChooseOwnVisual(XTarget& target) {
    int attributes[] = {
        GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8, None};
    XVisualInfo* visual =
        glXChooseVisual(target.display, DefaultScreen(target.display), attributes);
    if (visual == nullptr) {
        return false;
    }
    target.visual = *visual;
    XFree(visual);
    return true;
}

// The size and place -geometry asks for, on the screen of the visual.
XSizeHints OwnPlacement(const XTarget& target, const HackGeometry& geometry) {
    XSizeHints hints = {};
    hints.width = kOwnWidth;
    hints.height = kOwnHeight;
    if (geometry.mask & WidthValue) {
        hints.width = static_cast<int>(geometry.width);
        hints.height = static_cast<int>(geometry.height);
        hints.flags |= USSize;
    }
    if (geometry.mask & XValue) {
        const int screenWidth = DisplayWidth(target.display, target.visual.screen);
        const int screenHeight = DisplayHeight(target.display, target.visual.screen);
        hints.x = geometry.mask & XNegative ? screenWidth + geometry.x - hints.width : geometry.x;
        hints.y = geometry.mask & YNegative ? screenHeight + geometry.y - hints.height : geometry.y;
        hints.flags |= USPosition;
    }
    return hints;
}

std::string MakeOwnWindow(XTarget& target, const HackGeometry& geometry) {
    if (!ChooseOwnVisual(target)) {
        return "no OpenGL visual for a window";
    }
    XSizeHints place = OwnPlacement(target, geometry);
    Window root = RootWindow(target.display, target.visual.screen);
    XSetWindowAttributes attributes = {};
    attributes.colormap = XCreateColormap(target.display, root, target.visual.visual, AllocNone);
    attributes.background_pixel = BlackPixel(target.display, target.visual.screen);
    attributes.border_pixel = 0;
    attributes.event_mask = KeyPressMask | StructureNotifyMask;
    target.window = XCreateWindow(
        target.display, root, place.x, place.y, static_cast<unsigned>(place.width),
        static_cast<unsigned>(place.height), 0, target.visual.depth, InputOutput,
        target.visual.visual, CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
    target.ownWindow = true;
    target.width = place.width;
    target.height = place.height;
    XSetWMNormalHints(target.display, target.window, &place);
    XStoreName(target.display, target.window, "Quillfrost");
    XClassHint hint = {const_cast<char*>("quillfrost"), const_cast<char*>("Quillfrost")};
    XSetClassHint(target.display, target.window, &hint);
    target.deleteWindow = XInternAtom(target.display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(target.display, target.window, &target.deleteWindow, 1);
    const long pid = static_cast<long>(getpid());
    XChangeProperty(target.display, target.window,
                    XInternAtom(target.display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    XMapWindow(target.display, target.window);
    return "";
}

// Why an id that names no window cannot be drawn into.
std::string NoWindow(Display* display, Window id) {
    Window root = 0;
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    unsigned border = 0;
    unsigned depth = 0;
    gWindowGone = false;
    if (XGetGeometry(display, id, &root, &x, &y, &width, &height, &border, &depth) &&
        !gWindowGone) {
        return Hex(id) + " is a pixmap, not a window: the hack draws into windows only";
    }
    return "no window " + Hex(id);
}

// Another program's window, as it is: its size, its visual and its end.
std::string UseExistingWindow(XTarget& target) {
    XWindowAttributes attributes;
    gWatchedWindow = target.window;
    gWindowGone = false;
    // Its size, and its end, from here on: asked for before its size is
    // read, so that a change between the two comes as an event. Another
    // program owns it; gone, it only ends the run.
    XSelectInput(target.display, target.window, StructureNotifyMask);
    if (!XGetWindowAttributes(target.display, target.window, &attributes) || gWindowGone) {
        return NoWindow(target.display, target.window);
    }
    if (attributes.c_class == InputOnly) {
        return "window " + Hex(target.window) + " is InputOnly: nothing can be drawn into it";
    }
    XVisualInfo wanted = {};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(target.display, VisualIDMask, &wanted, &count);
    if (visual == nullptr || count == 0) {
        return "the visual of window " + Hex(target.window) + " is unknown";
    }
    target.visual = *visual;
    XFree(visual);
    int usable = 0;
    glXGetConfig(target.display, &target.visual, GLX_USE_GL, &usable);
    if (!usable) {
        return "the visual of window " + Hex(target.window) + " has no OpenGL";
    }
    target.width = attributes.width;
    target.height = attributes.height;
    return "";
}

// Frees a pixmap and OpenGL's drawable on it, if held, and clears both.
void FreeCurrentPixmap(Display* display, Pixmap& pixmap, GLXPixmap& glxPixmap) {
    if (glxPixmap != 0) {
        glXDestroyGLXPixmap(display, glxPixmap);
        glxPixmap = 0;
    }
    if (pixmap != 0) {
        XFreePixmap(display, pixmap);
        pixmap = 0;
    }
}

// A pixmap of that size on the target's visual, with the context current on
// it; false, with nothing held, when the server or OpenGL cannot make it.
bool MakeCurrentPixmap(XTarget& target, unsigned width, unsigned height, Pixmap& pixmap,
                       GLXPixmap& glxPixmap) {
    const Window root = RootWindow(target.display, target.visual.screen);
    pixmap = XCreatePixmap(target.display, root, width, height,
                           static_cast<unsigned>(target.visual.depth));
    glxPixmap = glXCreateGLXPixmap(target.display, &target.visual, pixmap);
    if (glxPixmap != 0 && glXMakeCurrent(target.display, glxPixmap, target.context)) {
        return true;
    }
    FreeCurrentPixmap(target.display, pixmap, glxPixmap);
    return false;
}

// A pixmap of the window's size and depth that OpenGL draws into, current;
// the one before it goes. False when the server or OpenGL cannot make it.
bool MakeDrawPixmap(XTarget& target) {
    Pixmap pixmap = 0;
    GLXPixmap glxPixmap = 0;
    if (!MakeCurrentPixmap(target, static_cast<unsigned>(target.width),
                           static_cast<unsigned>(target.height), pixmap, glxPixmap)) {
        return false;
    }
    // A pixmap has no back buffer to swap: the frame is drawn where it stays.
    glDrawBuffer(GL_FRONT);
    glReadBuffer(GL_FRONT);
    FreeCurrentPixmap(target.display, target.pixmap, target.glxPixmap);
    target.pixmap = pixmap;
    target.glxPixmap = glxPixmap;
    if (target.copyGc == nullptr) {
        target.copyGc = XCreateGC(target.display, pixmap, 0, nullptr);
    }
    return true;
}

// The largest drawable OpenGL draws into here, read with the context current
// on a small pixmap, before anything of the window's size is made.
bool ReadDrawableLimit(XTarget& target) {
    Pixmap pixmap = 0;
    GLXPixmap probe = 0;
    if (!MakeCurrentPixmap(target, 1, 1, pixmap, probe)) {
        return false;
    }
    GLint viewport[2] = {0, 0};
    GLint texture = 0;
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    // Drivers keep a drawable's buffers as textures: no larger than those.
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    target.maxWidth = viewport[0] < texture ? viewport[0] : texture;
    target.maxHeight = viewport[1] < texture ? viewport[1] : texture;
    glXMakeCurrent(target.display, None, nullptr);
    FreeCurrentPixmap(target.display, pixmap, probe);
    return target.maxWidth > 0 && target.maxHeight > 0;
}

std::string WithinLimit(const XTarget& target) {
    if (target.width <= target.maxWidth && target.height <= target.maxHeight) {
        return "";
    }
    const std::string what = target.ownWindow ? "the window asked for" : "the window";
    return what + " is " + std::to_string(target.width) + " x " + std::to_string(target.height) +
           " and OpenGL here draws at most " + std::to_string(target.maxWidth) + " x " +
           std::to_string(target.maxHeight);
}

void DrawOnTheDriversThread() {
    // Mesa's drivers then carry out the drawing on a thread of their own, and
    // the hack's thread only hands it over; a choice made in the environment
    // stands. Other drivers ignore the variable. Mesa would announce the
    // override on every start, into xscreensaver's log: it stays silent.
    if (std::getenv("mesa_glthread") == nullptr) {
        setenv("mesa_glthread", "true", 1);
        setenv("MESA_DEBUG", "silent", 0);
    }
}

// The context on the target's visual, current on what OpenGL draws into.
std::string MakeContextCurrent(XTarget& target) {
    target.context = glXCreateContext(target.display, &target.visual, nullptr, True);
    if (!target.context) {
        return "no OpenGL context for the window's visual";
    }
    if (!ReadDrawableLimit(target)) {
        return "OpenGL cannot draw into a pixmap of the window's visual";
    }
    std::string error = WithinLimit(target);
    if (!error.empty()) {
        return error;
    }
    if (target.ownWindow) {
        return glXMakeCurrent(target.display, target.window, target.context)
                   ? ""
                   : "the OpenGL context cannot draw into the window";
    }
    return MakeDrawPixmap(target) ? "" : "no pixmap of the window's size to draw into";
}

} // namespace

std::string OpenXTarget(XTarget& target, const HackOptions& options) {
    target = XTarget{nullptr, 0, false, 0, nullptr, {}, 0, 0, nullptr, 0, 0, 0, 0};
    DrawOnTheDriversThread();
    target.display = XOpenDisplay(options.displayName);
    if (target.display == nullptr) {
        // The name asked for, else $DISPLAY's: empty when neither is set.
        const std::string name = XDisplayName(options.displayName);
        return name.empty() ? "cannot open the display: DISPLAY is not set"
                            : "cannot open the display " + name;
    }
    gWatchedWindow = 0;
    gWindowGone = false;
    XSetErrorHandler(RecordXError);
    std::string error;
    switch (options.target) {
    case HackTarget::Own:
        error = MakeOwnWindow(target, options.geometry);
        break;
    case HackTarget::Root:
        target.window = RootTarget(target.display);
        error = UseExistingWindow(target);
        break;
    case HackTarget::WindowId:
        target.window = static_cast<Window>(options.windowId);
        error = UseExistingWindow(target);
        break;
    }
    if (error.empty()) {
        error = MakeContextCurrent(target);
    }
    XSync(target.display, False);
    return error;
}

XTargetEvents HandleXTargetEvents(XTarget& target) {
    XTargetEvents events = {false, false};
    while (XPending(target.display) > 0) {
        XEvent event;
        XNextEvent(target.display, &event);
        switch (event.type) {
        case ConfigureNotify:
            if (event.xconfigure.window == target.window &&
                (event.xconfigure.width != target.width ||
                 event.xconfigure.height != target.height)) {
                target.width = event.xconfigure.width;
                target.height = event.xconfigure.height;
                events.resized = true;
            }
            break;
        case DestroyNotify:
            if (event.xdestroywindow.window == target.window) {
                gWindowGone = true;
            }
            break;
        case KeyPress:
            if (target.ownWindow) {
                const KeySym key = XLookupKeysym(&event.xkey, 0);
                events.quit = events.quit || key == XK_Escape || key == XK_q || key == XK_Q;
            }
            break;
        case ClientMessage:
            events.quit =
                events.quit || (target.ownWindow &&
                                static_cast<Atom>(event.xclient.data.l[0]) == target.deleteWindow);
            break;
        default:
            break;
        }
    }
    if (events.resized) {
        // A window grown past what OpenGL draws shows its part that fits.
        target.width = target.width < target.maxWidth ? target.width : target.maxWidth;
        target.height = target.height < target.maxHeight ? target.height : target.maxHeight;
        if (!target.ownWindow && !gWindowGone && !MakeDrawPixmap(target)) {
            gWindowGone = true;
        }
    }
    events.quit = events.quit || gWindowGone;
    return events;
}

void PresentXTarget(XTarget& target) {
    if (target.ownWindow) {
        glXSwapBuffers(target.display, target.window);
        return;
    }
    // The pixmap holds the whole frame before the server copies it.
    glXWaitGL();
    if (!gWindowGone) {
        XCopyArea(target.display, target.pixmap, target.window, target.copyGc, 0, 0,
                  static_cast<unsigned>(target.width), static_cast<unsigned>(target.height), 0, 0);
    }
}

void CloseXTarget(XTarget& target) {
    if (target.display == nullptr) {
        return;
    }
    glXMakeCurrent(target.display, None, nullptr);
    if (target.context) {
        glXDestroyContext(target.display, target.context);
        target.context = nullptr;
    }
    FreeCurrentPixmap(target.display, target.pixmap, target.glxPixmap);
    if (target.copyGc != nullptr) {
        XFreeGC(target.display, target.copyGc);
        target.copyGc = nullptr;
    }
    if (target.ownWindow && !gWindowGone) {
        XDestroyWindow(target.display, target.window);
    }
    target.ownWindow = false;
    XCloseDisplay(target.display);
    target.display = nullptr;
}
