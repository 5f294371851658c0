#include "platform/platform.h"
#include "platform/platform_native_testing.h"

#include <chrono>

namespace {
bool gTickOverrideActive = false;
uint32_t gTickOverride = 0;
} // namespace

uint32_t PlatformTickCount() {
    if (gTickOverrideActive) {
        return gTickOverride;
    }
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}

void SetNativeTickOverride(bool active, uint32_t ticks) {
    gTickOverrideActive = active;
    gTickOverride = ticks;
}
