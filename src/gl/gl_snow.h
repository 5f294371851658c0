// The snow of a GL host in one record: the snow run, the renderer, the frame
// rate overlay and its counter, started, drawn, resized and ended together.
// The hack, the page and the Wayland program keep only their drawable, their
// loop and their input; each moves a new run ahead itself (StepSnowRunAhead
// on snow.run), in one go or in slices between looks at its window.
#pragma once

#include <cstdint>

#include "core/clock/frame_rate.h"
#include "core/run/snow_run.h"
#include "core/settings/settings.h"
#include "gl/fps_overlay.h"
#include "gl/gl_renderer.h"

// What a GL snow is started from.
struct GlSnowChoice {
    Settings settings;
    int32_t width; // the drawable, in pixels
    int32_t height;
    GlImage sprite;       // taken into a texture; the bytes stay the caller's
    uint32_t frameWaitMs; // the host's planned wait between frames
    uint8_t seedGiven;    // not 0: the run is the simulation of that seed
    uint32_t seed;
};

struct GlSnow {
    SnowRun run;
    GlRenderer renderer;
    FpsOverlay overlay;
    FrameRate rate;
    bool drawing;  // the renderer and the overlay are held on the context
    bool showRate; // the overlay is drawn over each frame
    int32_t width;
    int32_t height;
};

// A new run of the choice in place of any the record holds (upright views
// looking like landscape ones), and the renderer and the overlay on the
// current context unless they are held already (made for the largest run, so
// a new run keeps them). Null on success, else what failed, for the host's
// message; what was made then stays for EndGlSnow.
const char* StartGlSnow(GlSnow& snow, const GlSnowChoice& choice);

// One frame: the run ticked by the time since the last (resumed: the host
// was stopped since), drawn, and counted. True when a new frame rate was
// counted, then in framesPerSecond.
bool DrawGlSnowFrame(GlSnow& snow, bool resumed, double& framesPerSecond);

// The flakes as they are, and the overlay when shown, without the clock.
void DrawGlSnow(GlSnow& snow);

// A new size of the drawable.
void ResizeGlSnow(GlSnow& snow, int32_t width, int32_t height);

// Releases the drawing (with its context current) and the run; safe twice.
void EndGlSnow(GlSnow& snow);

// The renderer and the overlay made again on the current context, as for a
// new one (the page's restored WebGL context); false when they cannot be.
bool MakeGlSnowDrawing(GlSnow& snow, const GlImage& sprite);

// The drawing forgotten without a call through its context, which is gone.
void DropGlSnowDrawing(GlSnow& snow);
