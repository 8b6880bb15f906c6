// Texts in test assertions: see lines.h.
#include "lines.h"

#include <QRegularExpression>

void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace testenv {

std::vector<std::string> Std(const QStringList& lines) {
    std::vector<std::string> out;
    for (const QString& l : lines)
        out.push_back(l.toStdString());
    return out;
}

std::string ParamName(const char* version, bool odbc) {
    QString n = QLatin1String(version) + (odbc ? QStringLiteral("_Odbc") : QString());
    n.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), QStringLiteral("_"));
    return n.toStdString();
}

} // namespace testenv
