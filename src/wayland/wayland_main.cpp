// quillfrost-wayland: the snow full screen on every output of a Wayland
// desktop, as an idle daemon starts it (swayidle -w timeout 300
// quillfrost-wayland), until a key, a button, a touch or a pointer move of
// more than 4 pixels, an ending signal, or the compositor closing its
// toplevel or the connection; then it ends with 0.
#include <poll.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "core/settings/settings.h"
#include "gl/gl_snow.h"
#include "linux/command_start.h"
#include "linux/sprite_image.h"
#include "platform/platform.h"
#include "resource_ids.h"
#include "wayland/wl_desktop.h"

namespace {

constexpr int kBadArguments = 2;
constexpr int kFailed = 1;

const char kUsage[] =
    "usage: quillfrost-wayland [--quantity 0..100] [--speed 0..100]\n"
    "                          [--fractal-wind | --no-fractal-wind] [--fps] [--version] [--help]";

// The wait the frame callbacks make between two frames at 60 Hz: a step much
// longer is a spell in which the output was hidden, and counts as an
// ordinary one.
constexpr uint32_t kFrameWaitMs = 17;

// The longest wait for the compositor: a stop asked for by a signal ends it
// at once, so this only bounds how long a lost frame callback is waited for.
constexpr uint32_t kLongestWaitMicroseconds = 1000000;

// Makes, sizes, moves ahead and draws the snow of one screen; false when its
// EGL surface or its snow cannot be made (the screen is then left blank).
bool ServeScreen(WlDesktop& desktop, WlScreen& screen, const HackOptions& options,
                 const GlImage& sprite) {
    if (!screen.configured) {
        return true;
    }
    int32_t width = 0;
    int32_t height = 0;
    WlScreenPixels(screen, width, height);
    if (!screen.started) {
        ApplyWlScreenScale(screen);
        if (!CreateWlEglSurface(screen.egl, desktop.egl, screen.surface, width, height)) {
            return false;
        }
        const GlSnowChoice choice = {{PercentToFraction(options.quantityPercent),
                                      PercentToFraction(options.speedPercent), options.fractalWind},
                                     width,
                                     height,
                                     sprite,
                                     kFrameWaitMs,
                                     0,
                                     0};
        if (StartGlSnow(screen.snow, choice) != nullptr) {
            return false;
        }
        screen.snow.showRate = options.fps;
        screen.started = true;
        screen.sizeChanged = false;
    }
    if (!screen.ahead) {
        screen.ahead = StepSnowRunAhead(screen.snow.run, kSnowRunAheadStepsAtOnce);
        screen.frameDue = screen.ahead;
        if (screen.ahead) {
            StartFrameRate(screen.snow.rate, PlatformTickCount());
        }
        return true;
    }
    if (!screen.frameDue) {
        return true;
    }
    screen.frameDue = false;
    if (!MakeWlEglCurrent(desktop.egl, screen.egl)) {
        return false;
    }
    if (screen.sizeChanged) {
        screen.sizeChanged = false;
        ApplyWlScreenScale(screen);
        ResizeWlEglSurface(screen.egl, width, height);
        ResizeGlSnow(screen.snow, width, height);
    }
    RequestWlFrame(screen);
    double perSecond = 0.0;
    const bool counted = DrawGlSnowFrame(screen.snow, TakeContinued(), perSecond);
    SwapWlEglSurface(desktop.egl, screen.egl);
    if (counted && options.fps) {
        std::fprintf(stderr, "quillfrost-wayland: %.1f fps\n", perSecond);
    }
    return true;
}

// Waits for the compositor or a signal, the time given at most, and takes in
// what the connection brought; false when the connection is gone.
bool AwaitCompositor(WlDesktop& desktop, const RunSignals& signals, uint32_t microseconds) {
    wl_display* display = desktop.display;
    while (wl_display_prepare_read(display) != 0) {
        if (wl_display_dispatch_pending(display) < 0) {
            return false;
        }
    }
    if (wl_display_flush(display) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(display);
        return false;
    }
    const int fd = wl_display_get_fd(display);
    WaitForInputOrSignal(signals, fd, microseconds);
    pollfd readable = {fd, POLLIN, 0};
    if (poll(&readable, 1, 0) > 0) {
        if ((readable.revents & (POLLERR | POLLHUP)) != 0 && (readable.revents & POLLIN) == 0) {
            wl_display_cancel_read(display);
            return false;
        }
        if (wl_display_read_events(display) < 0) {
            return false;
        }
    } else {
        wl_display_cancel_read(display);
    }
    return wl_display_dispatch_pending(display) >= 0;
}

int Run(WlDesktop& desktop, const HackOptions& options, const RunSignals& signals) {
    std::string failure = OpenWlDesktop(desktop);
    if (failure.empty()) {
        const char* egl = OpenWlEgl(desktop.egl, desktop.display);
        failure = egl != nullptr ? egl : "";
    }
    if (!failure.empty()) {
        std::fprintf(stderr, "quillfrost-wayland: %s\n", failure.c_str());
        return kFailed;
    }
    const ResourceBytes png = PlatformResourceBytes(IDR_SPRITE);
    SpriteImage image = {};
    const std::string error = DecodeSpritePng(png.data, png.size, image);
    if (!error.empty()) {
        std::fprintf(stderr, "quillfrost-wayland: %s\n", error.c_str());
        return kFailed;
    }
    const GlImage sprite = {image.rgba.data(), static_cast<int32_t>(image.width),
                            static_cast<int32_t>(image.height)};
    while (!desktop.ended && !StopAsked()) {
        CoverWlOutputs(desktop);
        bool stepping = false;
        for (auto& screen : desktop.screens) {
            if (!ServeScreen(desktop, *screen, options, sprite)) {
                std::fprintf(stderr, "quillfrost-wayland: an output's snow cannot be drawn\n");
                return kFailed;
            }
            stepping = stepping || (screen->started && !screen->ahead);
        }
        if (!AwaitCompositor(desktop, signals, stepping ? 0 : kLongestWaitMicroseconds)) {
            break; // the compositor is gone: nothing is left to cover
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    RunSignals signals;
    HackOptions options;
    const int status =
        TakeCommandLine(argc, argv, "quillfrost-wayland", kUsage, QF_VERSION, signals, options);
    if (status >= 0) {
        return status;
    }
    if (options.target != HackTarget::Own || options.geometry.mask != 0 ||
        options.displayName != nullptr) {
        std::fprintf(stderr,
                     "quillfrost-wayland: --root, --window-id, --display and --geometry are X "
                     "options; it covers every output of the Wayland desktop\n%s\n",
                     kUsage);
        return kBadArguments;
    }
    WlDesktop desktop = {};
    const int ended = Run(desktop, options, signals);
    CloseWlDesktop(desktop);
    return ended;
}
