// test_window WxH+X+Y [input-only | pixmap]
// Maps a plain black window of that size and place on $DISPLAY, prints its id
// (0x...) and destroys it when a line or the end of standard input comes.
// input-only makes the window InputOnly; pixmap makes a pixmap of that size
// instead of a window.
#include <cstdio>
#include <iostream>
#include <string>

#include <X11/Xlib.h>

int main(int argc, char** argv) {
    unsigned width = 0;
    unsigned height = 0;
    int x = 0;
    int y = 0;
    const std::string kind = argc == 3 ? argv[2] : "";
    if (argc < 2 || argc > 3 || std::sscanf(argv[1], "%ux%u+%d+%d", &width, &height, &x, &y) != 4 ||
        (kind != "" && kind != "input-only" && kind != "pixmap")) {
        std::fprintf(stderr, "usage: test_window WxH+X+Y [input-only | pixmap]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "test_window: cannot open the display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    XID made = 0;
    if (kind == "pixmap") {
        made = XCreatePixmap(display, root, width, height,
                             static_cast<unsigned>(DefaultDepth(display, screen)));
    } else if (kind == "input-only") {
        XSetWindowAttributes attributes = {};
        made = XCreateWindow(display, root, x, y, width, height, 0, 0, InputOnly, CopyFromParent, 0,
                             &attributes);
        XMapWindow(display, made);
    } else {
        made = XCreateSimpleWindow(display, root, x, y, width, height, 0,
                                   BlackPixel(display, screen), BlackPixel(display, screen));
        XMapWindow(display, made);
    }
    XSync(display, False);
    std::printf("0x%lx\n", made);
    std::fflush(stdout);

    std::string line;
    std::getline(std::cin, line);
    if (kind == "pixmap") {
        XFreePixmap(display, made);
    } else {
        XDestroyWindow(display, made);
    }
    XCloseDisplay(display);
    return 0;
}
