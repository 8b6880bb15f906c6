// The window port of the preparation runner: the settings come from the command line, the
// progress texts go to the terminal (one line rewritten in place on a terminal, else a line per
// text), message boxes are printed.
#pragma once

#include "platform/window/window_port.h"

#include <QTextStream>
#include <map>

class ConsoleWindow : public win::WindowPort {
public:
    ConsoleWindow(QTextStream& out, bool rewriteInPlace)
        : out_(out)
        , inPlace_(rewriteInPlace) { }

    QString text(win::Box box) const override;
    void setText(win::Box box, const QString& text) override;
    void setCaption(win::Caption, const QString&) override { }
    bool optAccess() const override { return access; }
    int chkLikelAt() const override { return 0; }
    void setMousePointer(int) override { }
    void setUpDateEnabled(bool) override { }
    void msgBox(const QString& text, win::MsgStyle style) override;
    void doEvents() override;
    win::GridModel& grid() override { return grid_; }
    void endProgram() override { }

    // Shows what changed since the last pump, and ends an in-place line.
    void finish();
    // Where a stop signal has come: the line ended, every connection closed (a transaction in
    // hand rolled back), then the end of the program of that signal. Each pump stops so.
    void stopOnSignal();

    bool access = true; // false: the SQL-server fields name the store

private:
    void show();

    QTextStream& out_;
    bool inPlace_;
    bool lineOpen_ = false;
    bool qtyChanged_ = false, partChanged_ = false;
    std::map<win::Box, QString> texts_;
    win::GridModel grid_;
};
