// The snow of the page: the WebGL context of its canvas, one snow run at a
// time started from the page's settings, and its frames drawn through the
// shared OpenGL drawing. The page's script (page.js) calls these functions;
// it owns the settings, the size of the canvas and the frame loop.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "core/settings/settings.h"
#include "gl/gl_snow.h"
#include "platform/platform.h"
#include "platform/web_resources.h"

namespace {

// requestAnimationFrame comes every 16.7 ms at 60 Hz; a step much longer is a
// gap (the tab was hidden) and counts as an ordinary one.
constexpr uint32_t kFrameWaitMs = 17;

struct PageSnow {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
    std::vector<uint8_t> sprite; // kept for a context that is restored
    int32_t spriteWidth = 0;
    int32_t spriteHeight = 0;
    GlSnow snow = {};
};

PageSnow gPage;

GlImage Sprite() {
    return {gPage.sprite.empty() ? nullptr : gPage.sprite.data(), gPage.spriteWidth,
            gPage.spriteHeight};
}

// A percentage held to 0 .. 100.
uint32_t HeldPercent(int percent) {
    return static_cast<uint32_t>(percent < 0 ? 0 : percent > 100 ? 100 : percent);
}

} // namespace

extern "C" {

// The WebGL 1 context of the canvas the selector names ("#snow"); 0 when the
// browser gives none.
EMSCRIPTEN_KEEPALIVE int qf_open(const char* canvas) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_FALSE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.premultipliedAlpha = EM_FALSE;
    attributes.majorVersion = 1;
    gPage.context = emscripten_webgl_create_context(canvas, &attributes);
    if (gPage.context <= 0 || emscripten_webgl_make_context_current(gPage.context) != 0) {
        gPage.context = 0;
        return 0;
    }
    return 1;
}

// A resource the page fetched; the bytes stay the module's.
EMSCRIPTEN_KEEPALIVE void qf_set_resource(int id, const unsigned char* data, uint32_t size) {
    SetWebResource(id, data, size);
}

// The sprite as RGBA bytes, rows from the top, as stored; 1 when it could be
// made a texture.
EMSCRIPTEN_KEEPALIVE int qf_set_sprite(const uint8_t* rgba, int32_t width, int32_t height) {
    gPage.sprite.assign(rgba, rgba + static_cast<size_t>(width) * height * 4);
    gPage.spriteWidth = width;
    gPage.spriteHeight = height;
    return gPage.context != 0 && MakeGlSnowDrawing(gPage.snow, Sprite()) ? 1 : 0;
}

// A new run of those settings (percentages, as the dialog gives them) over a
// drawable of width x height pixels. Unless a seed is given (then the run is
// exactly the simulation of that seed, for comparison), the page moves it
// ahead with qf_step_ahead before its first frame. The number of flakes, or
// -1.
EMSCRIPTEN_KEEPALIVE int qf_start(int quantity, int speed, int fractal, int32_t width,
                                  int32_t height, double seed) {
    const bool seeded = seed >= 0.0;
    const GlSnowChoice choice = {{PercentToFraction(HeldPercent(quantity)),
                                  PercentToFraction(HeldPercent(speed)),
                                  static_cast<uint8_t>(fractal != 0 ? 1 : 0)},
                                 width,
                                 height,
                                 Sprite(),
                                 kFrameWaitMs,
                                 static_cast<uint8_t>(seeded ? 1 : 0),
                                 seeded ? static_cast<uint32_t>(seed) : 0u};
    StartGlSnow(gPage.snow, choice); // a run without a context is kept, and drawn once there is one
    if (gPage.snow.run.vertices == nullptr) {
        EndSnowRun(gPage.snow.run);
        return -1;
    }
    return gPage.snow.run.flakeScene->flakeCount;
}

// The run moved ahead by at most maxSteps steps towards full snow
// (StepSnowRunAhead), so that the page can spread the work over several of
// its frames; 1 once the run is that far ahead.
EMSCRIPTEN_KEEPALIVE int qf_step_ahead(uint32_t maxSteps) {
    return StepSnowRunAhead(gPage.snow.run, maxSteps) ? 1 : 0;
}

// One frame: the flakes moved by the time since the last, drawn. resumed
// tells that the page was hidden since the last frame.
EMSCRIPTEN_KEEPALIVE void qf_frame(int resumed) {
    double perSecond = 0.0;
    DrawGlSnowFrame(gPage.snow, resumed != 0, perSecond);
}

// The flakes moved `times` steps of ms each and drawn, without the clock.
EMSCRIPTEN_KEEPALIVE void qf_step_and_draw(uint32_t ms, int times) {
    for (int i = 0; i < times; ++i) {
        StepSnowRun(gPage.snow.run, ms);
    }
    DrawGlSnow(gPage.snow);
}

EMSCRIPTEN_KEEPALIVE void qf_resize(int32_t width, int32_t height) {
    ResizeGlSnow(gPage.snow, width, height);
}

EMSCRIPTEN_KEEPALIVE void qf_show_rate(int on) {
    gPage.snow.showRate = on != 0;
    StartFrameRate(gPage.snow.rate, PlatformTickCount());
}

EMSCRIPTEN_KEEPALIVE int qf_flake_count() {
    return gPage.snow.run.flakeScene != nullptr ? gPage.snow.run.flakeScene->flakeCount : 0;
}

// The context is gone with everything made on it: nothing is released
// through it. A restored context gets the drawing made anew; 1 on success.
EMSCRIPTEN_KEEPALIVE void qf_context_lost() {
    DropGlSnowDrawing(gPage.snow);
}

EMSCRIPTEN_KEEPALIVE int qf_context_restored() {
    emscripten_webgl_make_context_current(gPage.context);
    return MakeGlSnowDrawing(gPage.snow, Sprite()) ? 1 : 0;
}

// The time per frame, in ms, of the motion update and of the vertex build of
// the current run, over `frames` frames of 10 ms: {update, vertices}. Each is
// timed over all its frames at once, as the browser's clock is coarse (0.1 ms
// in a page that is not cross-origin isolated), and the vertices are built
// again and again from one state, as the native benchmark builds them.
EMSCRIPTEN_KEEPALIVE const double* qf_bench(int frames) {
    static double result[2];
    if (frames <= 0) {
        result[0] = result[1] = 0.0;
        return result;
    }
    const double t0 = emscripten_get_now();
    for (int i = 0; i < frames; ++i) {
        StepSnowRun(gPage.snow.run, 10);
    }
    const double t1 = emscripten_get_now();
    for (int i = 0; i < frames; ++i) {
        BuildSnowRunVertices(gPage.snow.run);
    }
    const double t2 = emscripten_get_now();
    result[0] = (t1 - t0) / frames;
    result[1] = (t2 - t1) / frames;
    return result;
}

} // extern "C"
