#include "diag/log.h"

#include <fstream>
#include <string>

#include "platform/platform.h"

namespace {

void WriteLogLine(const char* message, int32_t code) {
    std::string line = message ? message : "";
    if (code != 0) {
        line += " : ";
        line += ResultCodeName(code);
    }
    line += '\n';

    // The debugger channel first, so the line survives whatever the file does.
    PlatformDebugOutput(line.c_str());

    // Text mode: on Windows every "\n" reaches the disk as "\r\n". Opened and
    // closed on every call so other processes may read or delete the file.
    std::ofstream file("log.txt", std::ios::out | std::ios::app);
    if (!file.is_open()) {
        PlatformDebugOutput("Error writing to log file\n");
        return;
    }
    file << line;
    file.close();
}

} // namespace

void LogMessage(const char* message, int32_t code) {
    // The log never stops the program: a line that cannot even be formed (no
    // memory left) costs only the failure notice.
    try {
        WriteLogLine(message, code);
    } catch (...) {
        PlatformDebugOutput("Error writing to log file\n");
    }
}
