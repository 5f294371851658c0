// The start the Linux programs share, from the first instruction on: the
// run's signals caught, the options read, --help and --version answered, and
// a stop asked for already taken.
#pragma once

#include "linux/hack_options.h"
#include "linux/run_signals.h"

// What a program of that name and usage does with its command line. -1 when
// it is to run; else the status it ends with: 2 after a bad option (the
// message and the usage on standard error), 0 after --help or --version, or
// when an ending signal came already.
int TakeCommandLine(int argc, char** argv, const char* program, const char* usage,
                    const char* version, RunSignals& signals, HackOptions& options);
