#include "gl/gl_snow.h"

#include "core/flakes/scene_build.h"

namespace {

void ReleaseDrawing(GlSnow& snow) {
    if (snow.drawing) {
        ReleaseFpsOverlay(snow.overlay);
        ReleaseGlRenderer(snow.renderer);
        snow.drawing = false;
    }
}

} // namespace

bool MakeGlSnowDrawing(GlSnow& snow, const GlImage& sprite) {
    ReleaseDrawing(snow);
    if (sprite.rgba == nullptr ||
        !CreateGlRenderer(snow.renderer, sprite, FlakeCountForQuantity(1.0f))) {
        return false;
    }
    if (!CreateFpsOverlay(snow.overlay)) {
        ReleaseGlRenderer(snow.renderer);
        return false;
    }
    SetGlView(snow.renderer, snow.width, snow.height);
    snow.drawing = true;
    return true;
}

void DropGlSnowDrawing(GlSnow& snow) {
    snow.renderer = GlRenderer{};
    snow.overlay = FpsOverlay{};
    snow.drawing = false;
}

const char* StartGlSnow(GlSnow& snow, const GlSnowChoice& choice) {
    EndSnowRun(snow.run);
    snow.width = choice.width;
    snow.height = choice.height;
    const SnowRunChoice runChoice = {choice.settings,
                                     choice.width,
                                     choice.height,
                                     PlatformResourceBytes,
                                     {nullptr, nullptr},
                                     choice.seedGiven,
                                     choice.seed,
                                     choice.frameWaitMs,
                                     1}; // an upright view sees what it sees turned across
    if (StartSnowRun(snow.run, runChoice) != kSnowRunStarted) {
        return "out of memory building the scene";
    }
    if (snow.drawing) {
        SetGlView(snow.renderer, choice.width, choice.height);
    } else if (!MakeGlSnowDrawing(snow, choice.sprite)) {
        return "the sprite and the frame rate cannot be drawn with this OpenGL";
    }
    StartFrameRate(snow.rate, PlatformTickCount());
    return nullptr;
}

void DrawGlSnow(GlSnow& snow) {
    if (!snow.drawing) {
        return;
    }
    DrawGlFlakes(snow.renderer, BuildSnowRunVertices(snow.run), SnowRunVertexCount(snow.run));
    if (snow.showRate) {
        DrawFpsOverlay(snow.overlay, snow.renderer.program, snow.width, snow.height);
    }
}

bool DrawGlSnowFrame(GlSnow& snow, bool resumed, double& framesPerSecond) {
    TickSnowRun(snow.run, resumed);
    DrawGlSnow(snow);
    if (!CountFrame(snow.rate, PlatformTickCount(), framesPerSecond)) {
        return false;
    }
    SetFpsOverlayRate(snow.overlay, framesPerSecond);
    return true;
}

void ResizeGlSnow(GlSnow& snow, int32_t width, int32_t height) {
    snow.width = width;
    snow.height = height;
    ResizeSnowRun(snow.run, width, height);
    if (snow.drawing) {
        SetGlView(snow.renderer, width, height);
    }
}

void EndGlSnow(GlSnow& snow) {
    ReleaseDrawing(snow);
    EndSnowRun(snow.run);
}
