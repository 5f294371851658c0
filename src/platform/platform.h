// The thin seam between the portable code and the operating system: the tick
// count, the beep, the debugger channel and the program's own resource bytes.
// The Windows side calls kernel32; the native side stands in for it so the
// portable code builds and runs under the machine's own compiler.
#pragma once

#include <cstdint>

// Milliseconds since an arbitrary start, wrapping at 2^32 (GetTickCount).
uint32_t PlatformTickCount();

// A tone of the given frequency and length; the native side only records it.
void PlatformBeep(uint32_t frequencyHz, uint32_t durationMs);

// One line for the debugger (OutputDebugStringA); standard error natively.
void PlatformDebugOutput(const char* text);

// The bytes of an RT_RCDATA resource of the program's own file, read-only and
// valid for the life of the process; data is null and size 0 when missing.
struct ResourceBytes {
    const unsigned char* data;
    uint32_t size;
};
ResourceBytes PlatformResourceBytes(int id);
