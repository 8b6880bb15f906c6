// The window as the engine sees it: the settings the operator typed, the progress boxes, the
// grid, the pointer and the button, message boxes and the event pump.
#pragma once

#include "grid_model.h"

#include <QString>

namespace win {

enum class Box {
    txtPriceList,
    txtDataVelandor,
    txtServer,
    txtuid,
    txtpwd,
    txtdbq,
    txtQTY,
    txtPartNO
};
enum class Caption { Window, chkLikelAt };
enum class MsgStyle { None = 0, Question = 32, Exclamation = 48 };
enum Pointer { Arrow = 1, ArrowHourglass = 13 };

class WindowPort {
public:
    virtual ~WindowPort() = default;
    virtual QString text(Box box) const = 0;
    virtual void setText(Box box, const QString& text) = 0;
    virtual void setCaption(Caption which, const QString& text) = 0;
    virtual bool optAccess() const = 0; // false: optSQL is selected
    virtual int chkLikelAt() const = 0; // 0 unticked, 1 ticked, 2 grey
    virtual void setMousePointer(int pointer) = 0;
    virtual void setUpDateEnabled(bool enabled) = 0;
    // Modal: returns once the operator has closed the box.
    virtual void msgBox(const QString& text, MsgStyle style) = 0;
    virtual void doEvents() = 0;
    virtual GridModel& grid() = 0;
    // The database's message of the error that ended a run, for whoever started the program
    // (the Qt window writes it to standard error as one line); the window's own message stays.
    virtual void failureCause(const QString& message) { (void)message; }
    // Ends the program at once: no further statement of a run follows.
    virtual void endProgram() = 0;
};

} // namespace win
