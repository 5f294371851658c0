#include "linux/x_target.h"

#include <cstdlib>

#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace {

constexpr int kOwnWidth = 1024;
constexpr int kOwnHeight = 768;

// Set when the server reports that the drawn window no longer exists: a
// window of another program may go at any moment.
bool gWindowGone = false;

int RecordXError(Display*, XErrorEvent* error) {
    if (error->error_code == BadWindow || error->error_code == BadDrawable) {
        gWindowGone = true;
    }
    return 0;
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
XVisualInfo* ChooseOwnVisual(Display* display) {
    int attributes[] = {
        GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8, None};
    return glXChooseVisual(display, DefaultScreen(display), attributes);
}

std::string MakeOwnWindow(XTarget& target) {
    XVisualInfo* visual = ChooseOwnVisual(target.display);
    if (visual == nullptr) {
        return "no OpenGL visual for a window";
    }
    Window root = RootWindow(target.display, visual->screen);
    XSetWindowAttributes attributes = {};
    attributes.colormap = XCreateColormap(target.display, root, visual->visual, AllocNone);
    attributes.background_pixel = BlackPixel(target.display, visual->screen);
    attributes.border_pixel = 0;
    attributes.event_mask = KeyPressMask | StructureNotifyMask;
    target.window = XCreateWindow(
        target.display, root, 0, 0, kOwnWidth, kOwnHeight, 0, visual->depth, InputOutput,
        visual->visual, CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
    target.ownWindow = true;
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
    target.context = glXCreateContext(target.display, visual, nullptr, True);
    XFree(visual);
    return target.context ? "" : "no OpenGL context for the window";
}

// A context on the window's own visual, which must stay as it is.
std::string UseExistingWindow(XTarget& target) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(target.display, target.window, &attributes) || gWindowGone) {
        return "no such window";
    }
    XVisualInfo wanted = {};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(target.display, VisualIDMask, &wanted, &count);
    if (visual == nullptr || count == 0) {
        return "the window's visual is unknown";
    }
    int usable = 0;
    glXGetConfig(target.display, visual, GLX_USE_GL, &usable);
    if (usable) {
        target.context = glXCreateContext(target.display, visual, nullptr, True);
    }
    XFree(visual);
    if (!target.context) {
        return "the window's visual has no OpenGL";
    }
    // Its size, and its end: another program owns it.
    XSelectInput(target.display, target.window, StructureNotifyMask);
    target.width = attributes.width;
    target.height = attributes.height;
    return "";
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

} // namespace

std::string OpenXTarget(XTarget& target, const HackOptions& options) {
    target = XTarget{nullptr, 0, false, 0, nullptr, 0, 0};
    DrawOnTheDriversThread();
    target.display = XOpenDisplay(nullptr);
    if (target.display == nullptr) {
        return "cannot open the display";
    }
    gWindowGone = false;
    XSetErrorHandler(RecordXError);
    std::string error;
    switch (options.target) {
    case HackTarget::Own:
        error = MakeOwnWindow(target);
        target.width = kOwnWidth;
        target.height = kOwnHeight;
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
    if (error.empty() && !glXMakeCurrent(target.display, target.window, target.context)) {
        error = "the OpenGL context cannot draw into the window";
    }
    XSync(target.display, False);
    if (error.empty() && gWindowGone) {
        error = "no such window";
    }
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
    events.quit = events.quit || gWindowGone;
    return events;
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
    if (target.ownWindow && !gWindowGone) {
        XDestroyWindow(target.display, target.window);
    }
    target.ownWindow = false;
    XCloseDisplay(target.display);
    target.display = nullptr;
}
