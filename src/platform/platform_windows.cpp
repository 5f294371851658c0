#include "platform/platform.h"
#include "platform/local_app_data.h"
#include "platform/log_file.h"

#include <cstdio>

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

void PlatformBeep(uint32_t frequencyHz, uint32_t durationMs) {
    Beep(frequencyHz, durationMs);
}

void PlatformDebugOutput(const char* text) {
    OutputDebugStringA(text);
}

void PlatformStandardOutput(const char* text) {
    // Written at once: the process may end through ExitProcess.
    std::fputs(text, stdout);
    std::fflush(stdout);
}

ResourceBytes PlatformResourceBytes(int id) {
    HRSRC found =
        FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!found) {
        return {nullptr, 0};
    }
    HGLOBAL loaded = LoadResource(nullptr, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) {
        return {nullptr, 0};
    }
    return {static_cast<const unsigned char*>(data),
            static_cast<uint32_t>(SizeofResource(nullptr, found))};
}

std::filesystem::path PlatformLocalAppData() {
    // The shell's own answer: the environment variable may be missing,
    // relative or someone else's.
    PWSTR folder = nullptr;
    std::filesystem::path result;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder)) && folder) {
        result = std::filesystem::path(folder);
    }
    CoTaskMemFree(folder);
    return result.is_absolute() ? result : std::filesystem::path();
}

const char kPlatformLineEnd[] = "\r\n";

bool PlatformAppendWhole(const std::filesystem::path& file, const std::string& bytes) {
    // FILE_APPEND_DATA alone: the system puts every write at the end of the
    // file as it is then, so writers never overwrite each other.
    HANDLE handle = CreateFileW(file.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL wrote =
        WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(handle);
    return wrote && written == bytes.size();
}

namespace {
// How long a writer waits for another to finish setting the log aside.
constexpr DWORD kLogLockWaitMs = 5000;
} // namespace

PlatformLogLock PlatformLockLogFolder(const std::filesystem::path&) {
    PlatformLogLock lock = {nullptr, -1, false};
    lock.mutex = CreateMutexW(nullptr, FALSE, L"Local\\Nubrisk.Quillfrost.log");
    if (lock.mutex) {
        // An abandoned mutex (its holder died) is ours all the same.
        const DWORD waited = WaitForSingleObject(lock.mutex, kLogLockWaitMs);
        lock.held = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    return lock;
}

void PlatformUnlockLogFolder(PlatformLogLock& lock) {
    if (lock.held) {
        ReleaseMutex(lock.mutex);
        lock.held = false;
    }
    if (lock.mutex) {
        CloseHandle(lock.mutex);
        lock.mutex = nullptr;
    }
}
