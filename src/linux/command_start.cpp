#include "linux/command_start.h"

#include <cstdio>
#include <string>

int TakeCommandLine(int argc, char** argv, const char* program, const char* usage,
                    const char* version, RunSignals& signals, HackOptions& options) {
    // First of all: a signal at any later moment ends the program with 0.
    CatchRunSignals(signals);
    std::string error;
    if (!ParseHackOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "%s: %s\n%s\n", program, error.c_str(), usage);
        return 2;
    }
    if (options.help) {
        std::printf("%s\n", usage);
        return 0;
    }
    if (options.version) {
        std::printf("%s %s\n", program, version);
        return 0;
    }
    // A stop asked for already: nothing is opened.
    WaitForInputOrSignal(signals, -1, 0);
    return StopAsked() ? 0 : -1;
}
