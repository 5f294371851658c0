#include "platform/platform.h"
#include "platform/local_app_data.h"
#include "platform/log_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

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

const char kPlatformLineEnd[] = "\n";

bool PlatformAppendWhole(const std::filesystem::path& file, const std::string& bytes) {
    // O_APPEND: every write lands at the end of the file as it is then.
    const int descriptor = open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        return false;
    }
    const ssize_t written = write(descriptor, bytes.data(), bytes.size());
    close(descriptor);
    return written == static_cast<ssize_t>(bytes.size());
}

PlatformLogLock PlatformLockLogFolder(const std::filesystem::path& folder) {
    PlatformLogLock lock = {nullptr, -1, false};
    lock.folder = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (lock.folder >= 0) {
        int status;
        do {
            status = flock(lock.folder, LOCK_EX);
        } while (status != 0 && errno == EINTR);
        lock.held = status == 0;
    }
    return lock;
}

void PlatformUnlockLogFolder(PlatformLogLock& lock) {
    if (lock.folder >= 0) {
        close(lock.folder); // gives the flock back
        lock.folder = -1;
    }
    lock.held = false;
}
