// The runner's window port.
#include "console_window.h"

#include "platform/ado/ado.h"
#include "platform/runtime/stop_signals.h"

using win::Box;

QString ConsoleWindow::text(Box box) const {
    auto it = texts_.find(box);
    return it == texts_.end() ? QString() : it->second;
}

void ConsoleWindow::setText(Box box, const QString& text) {
    texts_[box] = text;
    if (box == Box::txtQTY) qtyChanged_ = true;
    if (box == Box::txtPartNO) partChanged_ = true;
}

void ConsoleWindow::show() {
    if (!qtyChanged_ && !partChanged_) return;
    if (inPlace_) {
        out_ << "\r\033[K" << text(Box::txtQTY);
        if (!text(Box::txtPartNO).isEmpty()) out_ << "   " << text(Box::txtPartNO);
        lineOpen_ = true;
    } else {
        if (qtyChanged_) out_ << text(Box::txtQTY) << '\n';
        if (partChanged_) out_ << text(Box::txtPartNO) << '\n';
    }
    qtyChanged_ = partChanged_ = false;
    out_.flush();
}

void ConsoleWindow::doEvents() {
    show();
    stopOnSignal();
}

void ConsoleWindow::msgBox(const QString& text, win::MsgStyle) {
    stopOnSignal();
    finish();
    out_ << text << '\n';
    out_.flush();
}

void ConsoleWindow::finish() {
    show();
    if (lineOpen_) out_ << '\n';
    lineOpen_ = false;
    out_.flush();
}

void ConsoleWindow::stopOnSignal() {
    const int sig = rt::TakeStopSignal();
    if (sig == 0) return;
    finish();
    ado::CloseStandIns();
    rt::EndOfSignal(sig);
}
