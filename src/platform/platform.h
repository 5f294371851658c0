// The thin seam between the portable code and the operating system: the tick
// count, the beep, the debugger channel, standard output and the program's own
// resource bytes. The tick count is a library of its own (qf_platform_clock):
// it is all that the portable core needs.
// The Windows side calls kernel32; the native side stands in for it so the
// portable code builds and runs under the machine's own compiler.
#pragma once

#include <cstdint>

// Milliseconds since an arbitrary start, wrapping at 2^32 (GetTickCount).
uint32_t PlatformTickCount();

// A tone of the given frequency and length; nothing natively.
void PlatformBeep(uint32_t frequencyHz, uint32_t durationMs);

// One line for the debugger (OutputDebugStringA); standard error natively.
void PlatformDebugOutput(const char* text);

// Text for the program's standard output, written through at once.
void PlatformStandardOutput(const char* text);

// The bytes of an RT_RCDATA resource of the program's own file, read-only and
// valid for the life of the process; data is null and size 0 when missing.
struct ResourceBytes {
    const unsigned char* data;
    uint32_t size;
};
ResourceBytes PlatformResourceBytes(int id);
