// Frame benchmark of the Linux hack on the machine's OpenGL: at 5000 flakes
// in a 1024 x 768 window, the time per frame of the motion update, the vertex
// build, the submission of the draw, and the drawing until the frame shows.
// The hack's own work is the first three; the frame is all four. Measured in
// the hack's own window (drawn into, then swapped) and in a window of another
// client (drawn into the hack's pixmap, then copied into the window).
//
//   linux_frame_bench [frames]        (needs $DISPLAY)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/run/snow_run.h"
#include "gl/gl_api.h"
#include "gl/gl_renderer.h"
#include "linux/sprite_image.h"
#include "linux/x_target.h"
#include "platform/platform.h"
#include "resource_ids.h"

namespace {

double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// The frames drawn into the target that the options name, as the hack draws.
int Measure(const char* where, const HackOptions& options, int frames) {
    XTarget target = {};
    const std::string error = OpenXTarget(target, options);
    if (!error.empty()) {
        std::printf("%s\n", error.c_str());
        return 1;
    }

    const ResourceBytes png = PlatformResourceBytes(IDR_SPRITE);
    SpriteImage sprite = {};
    GlRenderer renderer = {};
    if (!DecodeSpritePng(png.data, png.size, sprite).empty() ||
        !CreateGlRenderer(renderer,
                          {sprite.rgba.data(), static_cast<int32_t>(sprite.width),
                           static_cast<int32_t>(sprite.height)},
                          5000)) {
        std::printf("no sprite\n");
        return 1;
    }
    SetGlView(renderer, target.width, target.height);

    // 5000 flakes, half speed, fractal wind, as the Wine benchmark has them.
    SnowRun run = {};
    const SnowRunChoice choice = {{1.0f, 0.5f, 1},
                                  target.width,
                                  target.height,
                                  PlatformResourceBytes,
                                  {nullptr, nullptr},
                                  1,
                                  12345,
                                  10,
                                  0};
    if (StartSnowRun(run, choice) != kSnowRunStarted) {
        std::printf("no scene\n");
        EndSnowRun(run);
        return 1;
    }
    // Let every flake be released and spread out before timing.
    for (int i = 0; i < 600; ++i) {
        StepSnowRun(run, 10);
    }

    double update = 0.0;
    double build = 0.0;
    double submit = 0.0;
    double draw = 0.0;
    glFinish();
    for (int frame = 0; frame < frames + 3; ++frame) {
        const double t0 = NowMs();
        StepSnowRun(run, 10);
        const double t1 = NowMs();
        const FlakeVertex* vertices = BuildSnowRunVertices(run);
        const double t2 = NowMs();
        DrawGlFlakes(renderer, vertices, SnowRunVertexCount(run));
        const double t3 = NowMs();
        PresentXTarget(target);
        glFinish();
        const double t4 = NowMs();
        if (frame >= 3) { // the first frames warm the driver up
            update += t1 - t0;
            build += t2 - t1;
            submit += t3 - t2;
            draw += t4 - t3;
        }
    }
    std::printf("== %s\nflakes %d, window %d x %d, %d frames\n", where, run.flakeScene->flakeCount,
                target.width, target.height, frames);
    std::printf("update        %8.3f ms per frame\n", update / frames);
    std::printf("vertex build  %8.3f ms per frame\n", build / frames);
    std::printf("submit        %8.3f ms per frame\n", submit / frames);
    std::printf("draw+swap     %8.3f ms per frame\n", draw / frames);
    std::printf("own work      %8.3f ms per frame (update, vertex build, submit)\n",
                (update + build + submit) / frames);
    std::printf("hack frame    %8.3f ms per frame\n", (update + build + submit + draw) / frames);

    EndSnowRun(run);
    ReleaseGlRenderer(renderer);
    CloseXTarget(target);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 200;
    // A plain window of another client, of the same size, made first.
    Display* other = XOpenDisplay(nullptr);
    if (other == nullptr) {
        std::printf("cannot open the display\n");
        return 1;
    }
    const int screen = DefaultScreen(other);
    const Window window = XCreateSimpleWindow(other, RootWindow(other, screen), 0, 0, 1024, 768, 0,
                                              BlackPixel(other, screen), BlackPixel(other, screen));
    XSync(other, False);
    HackOptions options = {};
    options.target = HackTarget::Own;
    int result = Measure("the hack's own window", options, frames);
    if (result == 0) {
        XMapWindow(other, window);
        XSync(other, False);
        options.target = HackTarget::WindowId;
        options.windowId = window;
        result = Measure("another client's window", options, frames);
    }
    XCloseDisplay(other);
    return result;
}
