// Trimming of blanks and quoting of pasted texts.
#include "text.h"

namespace rt {

QString LTrim(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && s[i] == QLatin1Char(' '))
        ++i;
    return s.mid(i);
}

QString RTrim(const QString& s) {
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == QLatin1Char(' '))
        --n;
    return s.left(n);
}

QString Trim(const QString& s) {
    return LTrim(RTrim(s));
}

QString Quote(const QString& s) {
    QString out = s;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return out;
}

} // namespace rt
