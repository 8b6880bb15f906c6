// Opens the connection string it is given through the data-access layer and prints the error
// that the open ended with (exit 1), or "open" (exit 0).
#include "platform/ado/ado.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) return 2;
    ado::Connection cn;
    cn.setConnectionString(QString::fromLocal8Bit(argv[1]));
    cn.setCommandTimeout(5);
    try {
        cn.Open();
    } catch (const rt::RunError& e) {
        std::puts(e.message().toLocal8Bit().constData());
        return 1;
    }
    std::puts("open");
    return 0;
}
