// test_window WxH+X+Y
// Maps a plain black window of that size and place on $DISPLAY, prints its id
// (0x...) and destroys it when a line or the end of standard input comes.
#include <cstdio>
#include <iostream>
#include <string>

#include <X11/Xlib.h>

int main(int argc, char** argv) {
    unsigned width = 0;
    unsigned height = 0;
    int x = 0;
    int y = 0;
    if (argc != 2 || std::sscanf(argv[1], "%ux%u+%d+%d", &width, &height, &x, &y) != 4) {
        std::fprintf(stderr, "usage: test_window WxH+X+Y\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "test_window: cannot open the display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    const Window window =
        XCreateSimpleWindow(display, RootWindow(display, screen), x, y, width, height, 0,
                            BlackPixel(display, screen), BlackPixel(display, screen));
    XMapWindow(display, window);
    XSync(display, False);
    std::printf("0x%lx\n", window);
    std::fflush(stdout);

    std::string line;
    std::getline(std::cin, line);
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    return 0;
}
