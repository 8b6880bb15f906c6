// kordane-prepare: runs one preparation operation on a price-list database from the terminal.
#include "runner.h"

#include "platform/runtime/stop_signals.h"

#include <QCoreApplication>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr), in(stdin);
    const int code = prepare::RunPrepare(app.arguments().mid(1), out, err, in,
        isatty(STDOUT_FILENO) != 0, prepare::Operations(), true);
    // every file is closed by now: a stop signal that came after the runner's last look, or
    // comes from here on, still ends the program of that signal
    if (const int sig = rt::ReleaseStopSignals()) rt::EndOfSignal(sig);
    return code;
}
