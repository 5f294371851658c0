#include "platform/platform.h"
#include "platform/local_app_data.h"

#include <cstdio>
#include <cstdlib>

// Generated at configure time from the files the resource script compiles in.
struct EmbeddedResource {
    int id;
    const unsigned char* data;
    uint32_t size;
};
extern const EmbeddedResource kEmbeddedResources[];
extern const int kEmbeddedResourceCount;

void PlatformBeep(uint32_t, uint32_t) {
    // Nothing to sound natively: a failed allocation already shows as a
    // failure of the build it happened in.
}

void PlatformDebugOutput(const char* text) {
    std::fputs(text, stderr);
}

void PlatformStandardOutput(const char* text) {
    std::fputs(text, stdout);
    std::fflush(stdout);
}

ResourceBytes PlatformResourceBytes(int id) {
    for (int i = 0; i < kEmbeddedResourceCount; ++i) {
        if (kEmbeddedResources[i].id == id) {
            return {kEmbeddedResources[i].data, kEmbeddedResources[i].size};
        }
    }
    return {nullptr, 0};
}

std::filesystem::path PlatformLocalAppData() {
    const char* folder = std::getenv("LOCALAPPDATA");
    return folder != nullptr ? std::filesystem::path(folder) : std::filesystem::path();
}
