// The Qt window: the controls at their places, modal message boxes, the pointer and the event
// pump, behind the window port the engine sees.
#pragma once

#include "app/frmKordane.h"
#include "platform/window/window_port.h"
#include "pump_throttle.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QWidget>
#include <functional>
#include <map>

class QSocketNotifier;

class MainWindow : public QWidget, public win::WindowPort {
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    QString text(win::Box box) const override;
    void setText(win::Box box, const QString& text) override;
    void setCaption(win::Caption which, const QString& text) override;
    bool optAccess() const override { return optAccess_->isChecked(); }
    int chkLikelAt() const override;
    void setMousePointer(int pointer) override;
    void setUpDateEnabled(bool enabled) override { cmdUpDate_->setEnabled(enabled); }
    void msgBox(const QString& text, win::MsgStyle style) override;
    void doEvents() override;
    win::GridModel& grid() override { return grid_; }
    void failureCause(const QString& message) override;
    void endProgram() override;

    // From then on INT, TERM and HUP close the window as its close button does, at the next
    // event pump (a run pumps between its parts), and the program then ends of that signal; a
    // second one ends it at once. A write to a standard error nobody reads any more fails
    // without ending it. Calling it again changes nothing.
    void closeOnStopSignals();

    frmKordane& form() { return form_; }
    QWidget* control(const char* name) const;
    // Replaces the modal boxes (tests and scripted runs).
    std::function<void(const QString&, win::MsgStyle)> messageHook;
    std::function<void()> endHook;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The table widget mirrors the grid model: row 0 is its header, row r its row r - 1.
    void syncGrid(win::GridModel::Change what, int row, int col);
    void showCell(int row, int col);
    void showColumn(int col);
    void showShape();

    win::GridModel grid_;
    frmKordane form_;
    std::map<win::Box, QLineEdit*> boxes_;
    QCheckBox* chkLikelAt_ = nullptr;
    QRadioButton* optAccess_ = nullptr;
    QRadioButton* optSQL_ = nullptr;
    QPushButton* cmdUpDate_ = nullptr;
    QTableWidget* msgDetail_ = nullptr;
    QButtonGroup* storeType_ = nullptr;
    PumpThrottle pumpThrottle_;
    QElapsedTimer pumpClock_;
    QSocketNotifier* stopNotifier_ = nullptr; // the watch of the stop signals, once set up
    int stopSignal_ = 0; // the signal that closed the window, if one did
};
