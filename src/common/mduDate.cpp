// Date helpers of mduDate.
#include "mduDate.h"

#include "mduValue.h"
#include "platform/runtime/error.h"
#include "platform/runtime/runtime.h"

namespace mduDate {

namespace {

int16_t partOf(const QString& text) {
    return mduValue::ToInteger(rt::Value(text));
}

QString twoDigits(int16_t n) {
    QString s = QString::number(n);
    if (s.size() == 1) s.prepend(u'0');
    return s;
}

} // namespace

int16_t DayOfText(const QString& s) {
    const qsizetype a = s.indexOf(u'/');
    if (a <= 0) return 0; // none, or in the first place
    return partOf(s.left(a));
}

int16_t MonthOfText(const QString& s) {
    const qsizetype a = s.indexOf(u'/');
    if (a <= 0) return 0;
    const QString t = s.mid(a + 1);
    const qsizetype b = t.indexOf(u'/');
    if (b <= 0) return 0;
    return partOf(t.left(b));
}

int16_t YearOfText(const QString& s) {
    // unlike day and month, a "/" in the first place is accepted
    const qsizetype a = s.indexOf(u'/');
    if (a < 0) return 0;
    const QString t = s.mid(a + 1);
    const qsizetype b = t.indexOf(u'/');
    if (b < 0) return 0;
    return partOf(t.mid(b + 1));
}

QString ThaiDateText(const QDate& d) {
    if (!d.isValid()) throw rt::RunError(QStringLiteral("Type mismatch: not a date"));
    return QString::number(d.day()) + u'/' + QString::number(d.month()) + u'/'
        + QString::number(d.year() + 543);
}

int32_t DateNumber(const QString& s) {
    const QString digits
        = QString::number(YearOfText(s)) + twoDigits(MonthOfText(s)) + twoDigits(DayOfText(s));
    return rt::CLng(rt::Value(digits));
}

int32_t RunDate() {
    return DateNumber(ThaiDateText(rt::Today()));
}

} // namespace mduDate
