#include "platform/platform.h"
#include "platform/local_app_data.h"

#include <cstdio>

#include <windows.h>

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
    // Wide characters: a user's name need not fit the ANSI code page.
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) {
        return {};
    }
    return std::filesystem::path(buffer);
}
