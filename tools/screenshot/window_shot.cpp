// The picture of the window in the README: started in the folder of the sample (so its start-up
// paths find the sample files), it presses UpDate, answers the message the run ends with, and
// saves the window as it then stands to the PNG file it is given.
//   window_shot <file.png>
#include "app/qt/main_window.h"

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fputs("usage: window_shot <file.png>   (run from the folder of the sample)\n", stderr);
        return 2;
    }
    MainWindow window;
    QStringList messages;
    window.messageHook = [&messages](const QString& text, win::MsgStyle) { messages << text; };
    window.show();
    QCoreApplication::processEvents();
    qobject_cast<QPushButton*>(window.control("cmdUpDate"))->click(); // the whole run
    QCoreApplication::processEvents();
    if (messages != QStringList { QStringLiteral("เสร็จแล้วจ้า") }) {
        std::fprintf(stderr, "window_shot: the run ended with: %s\n",
            qPrintable(messages.join(QLatin1Char('|'))));
        return 1;
    }
    if (!window.grab().save(args[1], "PNG")) {
        std::fprintf(stderr, "window_shot: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
