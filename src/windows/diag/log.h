// The diagnostic log: one line to the debugger channel, then appended to
// "log.txt" in the current directory or, when that cannot be opened, in
// %LOCALAPPDATA%\Nubrisk\Quillfrost. A log past 1 MiB is renamed
// "log.old.txt" and a new one begins.
#pragma once

#include <cstdint>

// message alone when code is 0, else "message : NAME".
void LogMessage(const char* message, int32_t code);
// The SDK name of a result code ("D3DERR_DEVICELOST"); names sharing a value
// are joined by " & "; "Unknown" when the code has none.
const char* ResultCodeName(int32_t code);
