// A work folder that outlives no way the benchmark ends, Ctrl-C and a TERM included: the work
// runs in a child process, and this process only waits, removes the folder once every process
// the work started has gone, and then ends as the work did (of the same signal, when a signal
// ended it). Nothing runs in a signal handler: the signals are taken with sigwait.
#pragma once

#include "platform/runtime/stop_signals.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace bench {

// Dies of sig with its default action, as if this process had not caught it.
[[noreturn]] inline void EndOfSignal(int sig) {
    const rlimit none { 0, 0 }; // the work has left its own core already, if any
    setrlimit(RLIMIT_CORE, &none);
    rt::EndOfSignal(sig);
}

// Makes a folder from folderTemplate (its XXXXXX become a unique name) and runs work on it in a
// child process; the folder (and all it holds) is removed once the child and its own children
// have ended. The folder is made once the signals are held, so that no signal falls between its
// making and the watch that removes it. Called before any thread is started; work gets an empty
// path when no folder could be made.
inline int RunRemovingFolder(
    const QString& folderTemplate, const std::function<int(const QString& folder)>& work) {
    // the signals that end the work early, and the one that reports a child's end
    sigset_t set, before;
    sigemptyset(&set);
    for (int s : { SIGINT, SIGTERM, SIGHUP, SIGCHLD })
        sigaddset(&set, s);
    sigprocmask(SIG_BLOCK, &set, &before);
    QTemporaryDir made(folderTemplate);
    made.setAutoRemove(false);
    const QString folder = made.isValid() ? made.path() : QString();
    // children the work leaves orphaned become ours, so that the folder outlives none of them
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    std::fflush(nullptr);
    const pid_t worker = fork();
    if (worker < 0) {
        std::perror("transfer_bench: fork");
        if (!folder.isEmpty()) QDir(folder).removeRecursively();
        return 1;
    }
    if (worker == 0) {
        prctl(PR_SET_CHILD_SUBREAPER, 0);
        sigprocmask(SIG_SETMASK, &before, nullptr);
        std::exit(work(folder));
    }
    int ending = 0, status = 0;
    bool workerGone = false;
    for (;;) {
        int sig = 0;
        if (sigwait(&set, &sig) != 0) continue;
        if (sig != SIGCHLD) {
            if (!ending) ending = sig;
            // its children die with it (they are set to)
            if (!workerGone) kill(worker, SIGKILL);
            continue;
        }
        int st = 0;
        pid_t done;
        while ((done = waitpid(-1, &st, WNOHANG)) > 0)
            if (done == worker) {
                status = st;
                workerGone = true;
            }
        if (done < 0) break; // no child left
    }
    if (!folder.isEmpty()) QDir(folder).removeRecursively(); // an empty QDir is the current one
    if (ending) EndOfSignal(ending);
    if (WIFSIGNALED(status)) EndOfSignal(WTERMSIG(status));
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

} // namespace bench
