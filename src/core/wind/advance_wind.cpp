#include "core/wind/advance_wind.h"

#include "core/math/random.h"
#include "core/wind/wrap_unit.h"

namespace {

// The steady wind wanders: its rate of change walks at random, and both stay
// within -1 .. 1.
void WalkGust(NoiseTable& wind, double dt) {
    float r = RandomRange(-1.0f, 1.0f);
    wind.gustRate = static_cast<float>(wind.gustRate + r * 0.001 * dt);
    if (wind.gustRate < -1.0f) {
        wind.gustRate = -1.0f;
    }
    if (wind.gustRate > 1.0f) {
        wind.gustRate = 1.0f;
    }
    wind.gust = static_cast<float>(wind.gust + wind.gustRate * 0.0005 * dt);
    if (wind.gust > 1.0f) {
        wind.gust = 1.0f;
    }
    if (wind.gust < -1.0f) {
        wind.gust = -1.0f;
    }
    wind.drift = Vec3Set(wind.windSpeed * wind.gust, 0.0f, 0.0f);
}

// The field scrolls against the drift once per tick, whatever its length.
void ScrollField(NoiseTable& wind) {
    Vec3 offset = Vec3Subtract(wind.offset, Vec3Scale(wind.drift, wind.scrollFactor));
    wind.offset = Vec3Set(WrapUnit(offset.x), WrapUnit(offset.y), WrapUnit(offset.z));
}

} // namespace

void AdvanceWind(NoiseTable& wind, float dt) {
    WalkGust(wind, dt);
    if (wind.plainWind == 0) {
        if (wind.scrolling != 0) {
            ScrollField(wind);
        }
        wind.phase = WrapUnit(wind.phase + static_cast<double>(wind.phaseRate) * dt);
    }
}
