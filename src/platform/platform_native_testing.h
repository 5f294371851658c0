// A hook of the native side of the platform's clock, for tests only.
#pragma once

#include <cstdint>

// While set, PlatformTickCount returns this value instead of the real clock.
void SetNativeTickOverride(bool active, uint32_t ticks = 0);
