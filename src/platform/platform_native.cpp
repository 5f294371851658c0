#include "platform/platform.h"
#include "platform/platform_native_testing.h"

#include <chrono>
#include <cstdio>
#include <map>

// Generated at configure time from the files the resource script compiles in.
struct EmbeddedResource {
    int id;
    const unsigned char* data;
    uint32_t size;
};
extern const EmbeddedResource kEmbeddedResources[];
extern const int kEmbeddedResourceCount;

namespace {
std::vector<BeepRecord> gBeeps;
bool gTickOverrideActive = false;
uint32_t gTickOverride = 0;
std::map<int, ResourceBytes> gResourceOverrides;
} // namespace

uint32_t PlatformTickCount() {
    if (gTickOverrideActive) {
        return gTickOverride;
    }
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}

void PlatformBeep(uint32_t frequencyHz, uint32_t durationMs) {
    gBeeps.push_back({frequencyHz, durationMs});
}

void PlatformDebugOutput(const char* text) {
    std::fputs(text, stderr);
}

ResourceBytes PlatformResourceBytes(int id) {
    auto found = gResourceOverrides.find(id);
    if (found != gResourceOverrides.end()) {
        return found->second;
    }
    for (int i = 0; i < kEmbeddedResourceCount; ++i) {
        if (kEmbeddedResources[i].id == id) {
            return {kEmbeddedResources[i].data, kEmbeddedResources[i].size};
        }
    }
    return {nullptr, 0};
}

const std::vector<BeepRecord>& NativeBeeps() {
    return gBeeps;
}
void ClearNativeBeeps() {
    gBeeps.clear();
}

void SetNativeTickOverride(bool active, uint32_t ticks) {
    gTickOverrideActive = active;
    gTickOverride = ticks;
}

void SetNativeResourceOverride(int id, const unsigned char* data, uint32_t size) {
    gResourceOverrides[id] = {data, data ? size : 0};
}

void ClearNativeResourceOverrides() {
    gResourceOverrides.clear();
}
