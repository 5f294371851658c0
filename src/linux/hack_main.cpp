// quillfrost: the snow of the Windows saver as an xscreensaver hack. Draws
// into the window xscreensaver gives it (--root), a window named by its id
// (--window-id) or a window of its own, until a signal ends it, the window
// goes or (in its own window) Escape, q or the close box.
#include <chrono>
#include <cstdio>
#include <string>

#include "core/settings/settings.h"
#include "gl/gl_snow.h"
#include "linux/command_start.h"
#include "linux/run_signals.h"
#include "linux/sprite_image.h"
#include "linux/x_target.h"
#include "platform/platform.h"
#include "resource_ids.h"

namespace {

constexpr int kFailed = 1;

// A wait between frames looks at the event queue at least this often: input
// that a driver's thread read off the connection leaves nothing for the wait
// to see on it.
constexpr uint32_t kLongestWaitMicroseconds = 1000000;

// The run's objects, released in one place however the run ends.
struct HackRun {
    XTarget target = {};
    GlSnow snow = {};
};

void ReleaseRun(HackRun& run) {
    EndGlSnow(run.snow); // while the context is still there
    CloseXTarget(run.target);
}

// The snow as the Windows saver starts it from the same settings.
std::string StartRun(HackRun& run, const HackOptions& options) {
    std::string error = OpenXTarget(run.target, options);
    if (!error.empty()) {
        return error;
    }
    const ResourceBytes png = PlatformResourceBytes(IDR_SPRITE);
    SpriteImage sprite = {};
    error = DecodeSpritePng(png.data, png.size, sprite);
    if (!error.empty()) {
        return error;
    }
    const GlSnowChoice choice = {{PercentToFraction(options.quantityPercent),
                                  PercentToFraction(options.speedPercent), options.fractalWind},
                                 run.target.width,
                                 run.target.height,
                                 {sprite.rgba.data(), static_cast<int32_t>(sprite.width),
                                  static_cast<int32_t>(sprite.height)},
                                 options.delayMicroseconds / 1000u,
                                 0,
                                 0};
    const char* failure = StartGlSnow(run.snow, choice);
    run.snow.showRate = options.fps;
    return failure != nullptr ? failure : "";
}

// Takes in what the connection brought and waits out the delay, as long as
// the window stays and no signal ends the run; false when the run is to end.
bool AwaitNextFrame(HackRun& run, uint32_t delayMicroseconds, const RunSignals& signals) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::microseconds(delayMicroseconds);
    bool waited = false;
    for (;;) {
        const XTargetEvents events = HandleXTargetEvents(run.target);
        if (events.resized) {
            ResizeGlSnow(run.snow, run.target.width, run.target.height);
        }
        if (events.quit || StopAsked()) {
            return false;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
        if (waited && left <= 0) {
            return true;
        }
        const uint32_t wait = left <= 0                         ? 0u
                              : left < kLongestWaitMicroseconds ? static_cast<uint32_t>(left)
                                                                : kLongestWaitMicroseconds;
        WaitForInputOrSignal(signals, ConnectionNumber(run.target.display), wait);
        waited = true;
    }
}

void RunFrames(HackRun& run, const HackOptions& options, const RunSignals& signals) {
    // Unlike the Windows saver, which starts on an empty sky, the first frame
    // shows snow from the top of the view to the bottom: the run is moved
    // ahead first, a second of snow at a time between looks at the window and
    // the signals.
    while (!StepSnowRunAhead(run.snow.run, kSnowRunAheadStepsAtOnce)) {
        if (!AwaitNextFrame(run, 0, signals)) {
            return;
        }
    }
    StartFrameRate(run.snow.rate, PlatformTickCount());
    uint32_t delay = 0; // the first frame comes at once
    while (AwaitNextFrame(run, delay, signals)) {
        delay = options.delayMicroseconds;
        double perSecond = 0.0;
        const bool counted = DrawGlSnowFrame(run.snow, TakeContinued(), perSecond);
        PresentXTarget(run.target);
        if (counted && options.fps) {
            std::fprintf(stderr, "quillfrost: %.1f fps\n", perSecond);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    RunSignals signals;
    HackOptions options;
    const int status =
        TakeCommandLine(argc, argv, "quillfrost", kHackUsage, QF_VERSION, signals, options);
    if (status >= 0) {
        return status;
    }
    HackRun run;
    const std::string error = StartRun(run, options);
    if (!error.empty()) {
        std::fprintf(stderr, "quillfrost: %s\n", error.c_str());
        ReleaseRun(run);
        return kFailed;
    }
    RunFrames(run, options, signals);
    ReleaseRun(run);
    return 0;
}
