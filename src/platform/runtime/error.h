// The one error type of a run: every failure of the data layer, a conversion or a procedure
// travels as a RunError up to the UpDate handler.
#pragma once

#include <QString>
#include <stdexcept>

namespace rt {

class RunError : public std::runtime_error {
public:
    explicit RunError(const QString& message);
    const QString& message() const { return message_; }

private:
    QString message_;
};

// Counters and conversions that leave their range raise this.
[[noreturn]] void throwOverflow(const QString& what);

} // namespace rt
