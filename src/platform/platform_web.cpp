#include "platform/platform.h"
#include "platform/web_resources.h"

#include <emscripten/console.h>

namespace {

struct WebResource {
    int id;
    const unsigned char* data;
    uint32_t size;
};

// The sprite and the four noise tables.
constexpr int kMostResources = 8;
WebResource gResources[kMostResources] = {};
int gResourceCount = 0;

} // namespace

void SetWebResource(int id, const unsigned char* data, uint32_t size) {
    for (int i = 0; i < gResourceCount; ++i) {
        if (gResources[i].id == id) {
            gResources[i] = {id, data, size};
            return;
        }
    }
    if (gResourceCount < kMostResources) {
        gResources[gResourceCount++] = {id, data, size};
    }
}

void PlatformBeep(uint32_t, uint32_t) {
    // A page has no beep; a failed allocation shows as a failed start.
}

void PlatformDebugOutput(const char* text) {
    emscripten_console_log(text);
}

void PlatformStandardOutput(const char* text) {
    emscripten_console_log(text);
}

ResourceBytes PlatformResourceBytes(int id) {
    for (int i = 0; i < gResourceCount; ++i) {
        if (gResources[i].id == id) {
            return {gResources[i].data, gResources[i].size};
        }
    }
    return {nullptr, 0};
}
