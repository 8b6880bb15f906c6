// A window for tests: holds the control values, records every progress text and message box,
// answers message boxes at once.
#pragma once

#include "app/frmKordane.h"
#include "platform/window/window_port.h"

#include <QStringList>
#include <map>
#include <vector>

// The message a run that fails ends with.
inline const QString kFailedMessage = QStringLiteral("ไม่สามรถบันทึกได้");

struct ShownMessage {
    QString text;
    win::MsgStyle style;
};

class FakeWindow : public win::WindowPort {
public:
    FakeWindow() { gridModel.setWidth(14535); }
    QString text(win::Box b) const override {
        auto it = texts.find(b);
        return it == texts.end() ? QString() : it->second;
    }
    void setText(win::Box b, const QString& t) override {
        texts[b] = t;
        if (b == win::Box::txtQTY) qtyHistory << t;
        if (b == win::Box::txtPartNO) partHistory << t;
    }
    void setCaption(win::Caption c, const QString& t) override { captions[c] = t; }
    bool optAccess() const override { return access; }
    int chkLikelAt() const override { return likelAt; }
    void setMousePointer(int p) override { pointer = p; }
    void setUpDateEnabled(bool e) override { upDateEnabled = e; }
    void msgBox(const QString& t, win::MsgStyle s) override { messages.push_back({ t, s }); }
    void doEvents() override {
        ++pumps;
        if (onDoEvents) onDoEvents();
    }
    win::GridModel& grid() override { return gridModel; }
    void failureCause(const QString& m) override { causes << m; }
    void endProgram() override { ended = true; }

    std::map<win::Box, QString> texts;
    std::map<win::Caption, QString> captions;
    bool access = true;
    int likelAt = 0;
    int pointer = 0;
    bool upDateEnabled = true;
    bool ended = false;
    int pumps = 0;
    std::function<void()> onDoEvents;
    std::vector<ShownMessage> messages;
    QStringList qtyHistory, partHistory;
    QStringList causes; // the lines a failure wrote for the terminal
    win::GridModel gridModel;
};

// A loaded form over a fake window, with the two paths set (the desktop store) or the
// SQL-server fields pointing at a stand-in file through ODBC.
struct FormFixture {
    FakeWindow window;
    frmKordane form { window };
    FormFixture() { form.Form_Load(); }
    void useDesktopStore(const QString& priceList, const QString& store) {
        window.access = true;
        window.texts[win::Box::txtPriceList] = priceList;
        window.texts[win::Box::txtDataVelandor] = store;
    }
    void useSqlServerStore(const QString& priceList, const QString& sqliteFile);
    // One of the two, and the brand and store version a run has found by then.
    void useStore(const QString& priceList, const QString& store, int brandId,
        const QString& version, bool odbc = false);
};
