// quillfrost: the snow of the Windows saver as an xscreensaver hack. Draws
// into the window xscreensaver gives it (--root), a window named by its id
// (--window-id) or a window of its own, until a signal ends it (or, in its own
// window, Escape, q or the close box).
#include <csignal>
#include <cstdio>
#include <ctime>
#include <new>
#include <string>
#include <vector>

#include <GL/glx.h>

#include "core/clock/tick_clock.h"
#include "core/flakes/scene_build.h"
#include "core/flakes/update_flakes.h"
#include "linux/gl_renderer.h"
#include "linux/hack_options.h"
#include "linux/sprite_image.h"
#include "linux/x_target.h"
#include "platform/platform.h"
#include "core/view/flake_vertices.h"
#include "resource_ids.h"
#include "core/settings/settings.h"

namespace {

constexpr int kBadArguments = 2;
constexpr int kFailed = 1;

volatile std::sig_atomic_t gStop = 0;

void Stop(int) {
    gStop = 1;
}

void CatchEndingSignals() {
    struct sigaction action = {};
    action.sa_handler = Stop;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

void SleepMicroseconds(uint32_t microseconds) {
    timespec wait = {static_cast<time_t>(microseconds / 1000000u),
                     static_cast<long>(microseconds % 1000000u) * 1000L};
    // A signal cuts the wait short; the loop then sees it.
    nanosleep(&wait, nullptr);
}

// The run's objects, released in one place however the run ends.
struct HackRun {
    XTarget target = {};
    GlRenderer renderer = {};
    TickClock* clock = nullptr;
    FlakeScene* scene = nullptr;
    std::vector<FlakeVertex> vertices;
};

void ReleaseRun(HackRun& run) {
    if (run.target.display != nullptr) {
        ReleaseGlRenderer(run.renderer);
    }
    CloseXTarget(run.target);
    if (run.scene != nullptr) {
        ReleaseFlakeScene(*run.scene);
        delete run.scene;
        run.scene = nullptr;
    }
    delete run.clock;
    run.clock = nullptr;
}

// The scene as the Windows saver builds it from the same settings.
std::string StartRun(HackRun& run, const HackOptions& options) {
    std::string error = OpenXTarget(run.target, options);
    if (!error.empty()) {
        return error;
    }
    const Settings settings = {PercentToFraction(options.quantityPercent),
                               PercentToFraction(options.speedPercent), options.fractalWind};
    const SceneChoice choice = {FlakeCountForQuantity(settings.Quantity),
                                run.target.width,
                                run.target.height,
                                settings.Speed,
                                settings.FractalWind,
                                PlatformResourceBytes,
                                {nullptr, nullptr}};
    if (BuildInitialScene(choice, run.clock, run.scene) != 0) {
        return "out of memory building the scene";
    }
    run.vertices.resize(FlakeVertexCapacity(run.scene->flakeCount));

    const ResourceBytes png = PlatformResourceBytes(IDR_SPRITE);
    SpriteImage sprite = {};
    error = DecodeSpritePng(png.data, png.size, sprite);
    if (!error.empty()) {
        return error;
    }
    if (!CreateGlRenderer(run.renderer, sprite, run.scene->flakeCount)) {
        return "the sprite cannot be made a texture";
    }
    SetGlView(run.target.width, run.target.height);
    return "";
}

// Frames every second, on standard error.
struct FrameRate {
    uint32_t since;
    uint32_t frames;
};

void CountFrame(FrameRate& rate) {
    ++rate.frames;
    const uint32_t now = PlatformTickCount();
    if (now - rate.since >= 1000u) {
        std::fprintf(stderr, "quillfrost: %.1f frames per second\n",
                     rate.frames * 1000.0 / (now - rate.since));
        rate = {now, 0};
    }
}

void RunFrames(HackRun& run, const HackOptions& options) {
    FrameRate rate = {PlatformTickCount(), 0};
    while (!gStop) {
        const XTargetEvents events = HandleXTargetEvents(run.target);
        if (events.quit) {
            break;
        }
        if (events.resized) {
            SetFlakeSceneView(*run.scene, run.target.width, run.target.height);
            SetGlView(run.target.width, run.target.height);
        }
        UpdateTickClock(*run.clock);
        UpdateFlakes(*run.scene, run.clock->stepMs * 1000u);
        BuildFlakeVertices(*run.scene, run.vertices.data());
        DrawGlFlakes(run.renderer, *run.scene, run.vertices.data());
        glXSwapBuffers(run.target.display, run.target.window);
        if (options.fps) {
            CountFrame(rate);
        }
        SleepMicroseconds(options.delayMicroseconds);
    }
}

} // namespace

int main(int argc, char** argv) {
    HackOptions options;
    std::string error;
    if (!ParseHackOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "quillfrost: %s\n%s\n", error.c_str(), kHackUsage);
        return kBadArguments;
    }
    if (options.help) {
        std::printf("%s\n", kHackUsage);
        return 0;
    }
    CatchEndingSignals();
    HackRun run;
    error = StartRun(run, options);
    if (!error.empty()) {
        std::fprintf(stderr, "quillfrost: %s\n", error.c_str());
        ReleaseRun(run);
        return kFailed;
    }
    RunFrames(run, options);
    ReleaseRun(run);
    return 0;
}
