// What the portable code has to tell the world outside it, told the way the
// program wants: report lines (the noise parser's account of a table, on the
// saver's standard output) and the alarm of an allocation that would otherwise
// go unnoticed (a beep). Either may be null: that part is then dropped.
#pragma once

#include <cstdint>

struct Diagnostics {
    void (*reportLine)(const char* text);
    void (*alarm)(uint32_t frequencyHz, uint32_t durationMs);
};

inline void ReportLine(const Diagnostics& diagnostics, const char* text) {
    if (diagnostics.reportLine) {
        diagnostics.reportLine(text);
    }
}

inline void SoundAlarm(const Diagnostics& diagnostics, uint32_t frequencyHz, uint32_t durationMs) {
    if (diagnostics.alarm) {
        diagnostics.alarm(frequencyHz, durationMs);
    }
}
