// The program: one window, no arguments.
#include "main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    MainWindow window;
    window.closeOnStopSignals();
    window.show();
    return app.exec();
}
