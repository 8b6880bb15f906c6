// Texts in test assertions: see lines.h.
#include "lines.h"

namespace testenv {

std::vector<std::string> Std(const QStringList& lines) {
    std::vector<std::string> out;
    for (const QString& l : lines)
        out.push_back(l.toStdString());
    return out;
}

} // namespace testenv
