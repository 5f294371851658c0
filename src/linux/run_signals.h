// The signals of a run: SIGTERM, SIGINT and SIGHUP end it with status 0, and
// SIGCONT tells it that it was stopped. They are caught from the first moment
// of the program and blocked but while the hack waits between frames, so that
// one sent at any moment ends the wait it comes in or the next one.
#pragma once

#include <csignal>
#include <cstdint>

struct RunSignals {
    sigset_t waitMask; // the signal mask while waiting: the run's signals let through
};

// Installs the handlers and blocks the signals; threads started later (the
// OpenGL driver's) inherit the block, so the signals come to this thread.
void CatchRunSignals(RunSignals& signals);

// Waits until the file descriptor has something to read (none with -1), one
// of the run's signals comes, or the time is up, whichever is first. A wait
// of 0 still takes the signals that came before it.
void WaitForInputOrSignal(const RunSignals& signals, int fd, uint32_t microseconds);

// Whether an ending signal has come.
bool StopAsked();

// Whether the program was continued after a stop since the last call.
bool TakeContinued();
