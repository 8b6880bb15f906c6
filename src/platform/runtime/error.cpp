// The one error type of a run.
#include "error.h"

namespace rt {

RunError::RunError(const QString& message)
    : std::runtime_error(message.toStdString())
    , message_(message) { }

void throwOverflow(const QString& what) {
    throw RunError(QStringLiteral("Overflow: ") + what);
}

} // namespace rt
