// kordane-prepare: runs one preparation operation on a price-list database from the terminal.
#include "runner.h"

#include <QCoreApplication>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr), in(stdin);
    return prepare::RunPrepare(app.arguments().mid(1), out, err, in, isatty(STDOUT_FILENO) != 0,
        prepare::Operations(), true);
}
