// The stop signals through a pipe: nothing but a write runs in the handler, or the end of the
// program at a second signal.
#include "stop_signals.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace rt {

namespace {
int stopPipe[2] = { -1, -1 };
std::atomic<int> firstStop { 0 }; // the first stop signal caught, taken or not
std::atomic<bool> readerGone { false };
sigset_t caught; // the signals whose handler is ours
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
    "used in a signal handler");

// Only async-signal-safe calls: the handler may have interrupted anything.
[[noreturn]] void endNow(int sig) {
    struct sigaction defaultAction { };
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    sigaction(sig, &defaultAction, nullptr);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, sig);
    sigprocmask(SIG_UNBLOCK, &one, nullptr);
    raise(sig);
    _exit(128 + sig);
}

void onStopSignal(int sig) {
    int none = 0;
    // the program did not get to the first one: it may be blocked where it never will
    if (!firstStop.compare_exchange_strong(none, sig)) endNow(sig);
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(sig);
    [[maybe_unused]] const ssize_t n = write(stopPipe[1], &byte, 1);
    errno = saved;
}

// The write that raised it fails with EPIPE; the program stops at its next look.
void onLostReader(int) {
    readerGone.store(true);
}

void catchSignal(int sig, void (*handler)(int)) {
    struct sigaction was { };
    if (sigaction(sig, nullptr, &was) != 0 || was.sa_handler == SIG_IGN) return;
    struct sigaction catcher { };
    catcher.sa_handler = handler;
    sigemptyset(&catcher.sa_mask);
    // the file and network calls the signal interrupts go on where they can
    catcher.sa_flags = SA_RESTART;
    if (sigaction(sig, &catcher, nullptr) == 0) sigaddset(&caught, sig);
}
} // namespace

int CatchStopSignals() {
    if (stopPipe[0] >= 0) return stopPipe[0];
    if (pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        stopPipe[0] = stopPipe[1] = -1;
        return -1;
    }
    for (int sig : { SIGINT, SIGTERM, SIGHUP })
        catchSignal(sig, onStopSignal);
    return stopPipe[0];
}

void CatchLostReader() {
    catchSignal(SIGPIPE, onLostReader);
}

int TakeStopSignal() {
    unsigned char byte = 0;
    if (stopPipe[0] >= 0 && read(stopPipe[0], &byte, 1) == 1) return byte;
    if (readerGone.exchange(false)) return SIGPIPE;
    return 0;
}

int ReleaseStopSignals() {
    for (int sig : { SIGINT, SIGTERM, SIGHUP, SIGPIPE })
        if (sigismember(&caught, sig) == 1) {
            std::signal(sig, SIG_DFL);
            sigdelset(&caught, sig);
        }
    return TakeStopSignal();
}

void EndOfSignal(int sig) {
    std::fflush(nullptr);
    endNow(sig);
}

} // namespace rt
