// Hooks of the native side of the platform seam, for tests only.
#pragma once

#include <cstdint>
#include <vector>

struct BeepRecord {
    uint32_t frequencyHz;
    uint32_t durationMs;
};

// Every beep since the last clear, oldest first.
const std::vector<BeepRecord>& NativeBeeps();
void ClearNativeBeeps();

// While set, PlatformTickCount returns this value instead of the real clock.
void SetNativeTickOverride(bool active, uint32_t ticks = 0);

// Replaces (or, with null data, hides) a resource for the rest of the process.
void SetNativeResourceOverride(int id, const unsigned char* data, uint32_t size);
void ClearNativeResourceOverrides();
