#include "linux/run_signals.h"

#include <ctime>
#include <initializer_list>

#include <poll.h>

namespace {

volatile std::sig_atomic_t gStop = 0;
volatile std::sig_atomic_t gContinued = 0;

void Stop(int) {
    gStop = 1;
}

void Continued(int) {
    gContinued = 1;
}

} // namespace

void CatchRunSignals(RunSignals& signals) {
    sigset_t caught;
    sigemptyset(&caught);
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGCONT}) {
        sigaddset(&caught, signal);
    }
    sigprocmask(SIG_BLOCK, &caught, &signals.waitMask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGCONT}) {
        sigdelset(&signals.waitMask, signal);
        struct sigaction action = {};
        action.sa_handler = signal == SIGCONT ? Continued : Stop;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
}

void WaitForInputOrSignal(const RunSignals& signals, int fd, uint32_t microseconds) {
    pollfd input = {fd, POLLIN, 0};
    const timespec wait = {static_cast<time_t>(microseconds / 1000000u),
                           static_cast<long>(microseconds % 1000000u) * 1000L};
    // The mask is swapped in and out with the wait itself: a signal comes
    // before it (and cuts it short at once) or within it, never unseen.
    ppoll(fd >= 0 ? &input : nullptr, fd >= 0 ? 1 : 0, &wait, &signals.waitMask);
}

bool StopAsked() {
    return gStop != 0;
}

bool TakeContinued() {
    const bool continued = gContinued != 0;
    gContinued = 0;
    return continued;
}
