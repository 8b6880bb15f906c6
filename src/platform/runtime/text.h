// Text rules shared by every layer: the blank is U+0020 only, and a text pasted between single
// quotes has each quote doubled.
#pragma once

#include <QString>

namespace rt {

QString Trim(const QString& s); // leading and trailing U+0020 only
QString LTrim(const QString& s);
QString RTrim(const QString& s);
// The text to paste between single quotes of a statement: every ' doubled.
QString Quote(const QString& s);
// Number as statement text: plain decimal, no separators.
inline QString Num(long long v) {
    return QString::number(v);
}

} // namespace rt
