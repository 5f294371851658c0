// One run of the snow, as every host starts, steps, resizes and ends it: the
// frame clock, the flake scene built from the user's settings, and the
// vertices the flakes are drawn from.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/clock/step_filter.h"
#include "core/clock/tick_clock.h"
#include "core/flakes/flake_scene.h"
#include "core/settings/settings.h"
#include "core/view/flake_vertices.h"
#include "platform/diagnostics.h"
#include "platform/platform.h"

// What a run is started from.
struct SnowRunChoice {
    Settings settings; // the flake count from Quantity, the wind from Speed and FractalWind
    int32_t viewWidth; // the area the snow is seen in, in pixels
    int32_t viewHeight;
    // The bytes of a stored noise table by its resource identifier; data is
    // null when there is no such table.
    ResourceBytes (*storedTable)(int id);
    Diagnostics diagnostics;
    // The random generator's seed when seedGiven is not 0; else the clock's
    // start ticks, as a saver run seeds it.
    uint8_t seedGiven;
    uint32_t seed;
    // The wait the host plans between two frames: a tick whose step is much
    // longer is a gap, in which the host did not run (0: none planned);
    // kNoStepFilter: every step counts in full.
    uint32_t frameWaitMs;
    // Not 0: a view taller than wide looks like the landscape view it is
    // turned from (SetFlakeSceneView), drawn with CameraProjectionFitted.
    // 0 keeps the saver's landscape rule for every view.
    uint8_t uprightLikeLandscape;
};

// The objects of a run, owned by whoever holds the record. All null before
// the start and after the end.
struct SnowRun {
    TickClock* tickClock;
    FlakeScene* flakeScene;
    FlakeVertex* vertices; // room for vertexCapacity vertices
    size_t vertexCapacity; // FlakeVertexCapacity of the scene's flakes
    StepFilter steps;      // what a tick makes of the clock's step
    uint32_t aheadMs;      // the time moved ahead before the first frame
};

// What StartSnowRun reports. What a failure means is the host's to decide.
constexpr int32_t kSnowRunStarted = 0;
constexpr int32_t kSnowRunNoMemoryForTheScene = 1; // the clock or the scene
constexpr int32_t kSnowRunNoMemoryForVertices = 2; // the scene is held, the vertices not

// Creates the clock (seeding the random generator), builds the scene as the
// saver builds it and allocates the vertex array. On a failure whatever was
// made stays in the record for EndSnowRun.
int32_t StartSnowRun(SnowRun& run, const SnowRunChoice& choice);

// Moves the flakes on by elapsedMs milliseconds, held to 1 .. 40000 as the
// frame clock holds its steps.
void StepSnowRun(SnowRun& run, uint32_t elapsedMs);

// The steps a run is moved ahead in, as frames of 25 Hz move it: half the
// work of shorter ones, and the snow looks the same.
constexpr uint32_t kSnowRunAheadStepMs = 40;
// The steps a host that looks at its window and its signals between them
// takes at once: a second of snow, some 10 ms of work at 5000 flakes.
constexpr uint32_t kSnowRunAheadStepsAtOnce = 1000 / kSnowRunAheadStepMs;
// How long a run is moved ahead at the least: a flake of middling size and
// drag falls through the box's height in about 26 s, so by then the first
// flakes out have reached the bottom of the view and the sky is about as full
// as it stays. An upright view's higher box takes longer, in proportion to
// its height against the landscape box's.
constexpr uint32_t kSnowRunSettledMs = 30000;

// Moves the flakes on in steps of kSnowRunAheadStepMs until every flake has
// been released and at least kSnowRunSettledMs have passed since the start: a
// host that must not open on an empty sky, or on one empty below, starts
// from there. At most maxSteps steps a call, so that a host can look at its
// window and its signals between them; true once the run is that far ahead.
bool StepSnowRunAhead(SnowRun& run, uint32_t maxSteps);

// Reads the run's clock and moves the flakes on by the time since the last
// tick (the first tick after the start: 1 ms), leaving out a gap: after a
// stop the host saw (resumed) or a step much longer than a frame, the flakes
// move by the last ordinary step and go on where they were. Returns the step
// taken, in ms.
uint32_t TickSnowRun(SnowRun& run, bool resumed);

// Writes the four vertices of every flake; returns the vertex array. The
// flakes are drawn from its first SnowRunVertexCount vertices.
const FlakeVertex* BuildSnowRunVertices(SnowRun& run);
size_t SnowRunVertexCount(const SnowRun& run);

// A new size of the area the snow is seen in: the box follows it, and the
// flakes keep their place in it.
void ResizeSnowRun(SnowRun& run, int32_t viewWidth, int32_t viewHeight);

// Releases the clock, the scene and the vertices, in that order, and clears
// the record. Safe to call twice, and on a run that never started.
void EndSnowRun(SnowRun& run);
