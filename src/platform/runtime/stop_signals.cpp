// The stop signals through a pipe: nothing but a write runs in the handler.
#include "stop_signals.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace rt {

namespace {
int stopPipe[2] = { -1, -1 };

void onStopSignal(int sig) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(sig);
    // a full pipe already holds a signal to act on
    [[maybe_unused]] const ssize_t n = write(stopPipe[1], &byte, 1);
    errno = saved;
}
} // namespace

int CatchStopSignals() {
    if (stopPipe[0] >= 0) return stopPipe[0];
    if (pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        stopPipe[0] = stopPipe[1] = -1;
        return -1;
    }
    for (int sig : { SIGINT, SIGTERM, SIGHUP }) {
        struct sigaction was { };
        if (sigaction(sig, nullptr, &was) != 0 || was.sa_handler == SIG_IGN) continue;
        struct sigaction catcher { };
        catcher.sa_handler = onStopSignal;
        sigemptyset(&catcher.sa_mask);
        // the file and network calls the signal interrupts go on where they can
        catcher.sa_flags = SA_RESTART;
        sigaction(sig, &catcher, nullptr);
    }
    return stopPipe[0];
}

int TakeStopSignal() {
    unsigned char byte = 0;
    if (stopPipe[0] < 0 || read(stopPipe[0], &byte, 1) != 1) return 0;
    return byte;
}

void EndOfSignal(int sig) {
    std::fflush(nullptr);
    std::signal(sig, SIG_DFL);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, sig);
    sigprocmask(SIG_UNBLOCK, &one, nullptr);
    raise(sig);
    _exit(128 + sig);
}

} // namespace rt
