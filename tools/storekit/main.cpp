// storekit: stand-in stores and price lists for trying the tool by hand (see command.cpp).
#include "command.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    return storekit::RunCommand(app.arguments().mid(1), out, err);
}
