// The diagnostic log: one line to the debugger channel, then appended to
// "log.txt" in the current directory or, when that cannot be opened, in the
// user's own folder (%LOCALAPPDATA%\Nubrisk\Quillfrost). Each line is one
// whole append, so several savers may log at once. Only the user's own log is
// set aside as "log.old.txt" once past 1 MiB; a log.txt in the current
// directory may be another program's and is only ever appended to.
#pragma once

#include <cstdint>

// message alone when code is 0, else "message : NAME".
void LogMessage(const char* message, int32_t code);
// The SDK name of a result code ("D3DERR_DEVICELOST"); names sharing a value
// are joined by " & "; "Unknown" when the code has none.
const char* ResultCodeName(int32_t code);
