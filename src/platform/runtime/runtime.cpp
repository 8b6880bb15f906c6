// Runtime stand-ins and the conversions of Value.
#include "runtime.h"
#include "error.h"
#include "text.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace rt {

namespace {
std::function<QDate()>& clock() {
    static std::function<QDate()> c;
    return c;
}

bool parseNumber(const QString& text, double& out) {
    static const QRegularExpression re(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    if (!re.match(text).hasMatch()) return false;
    bool ok = false;
    out = text.trimmed().toDouble(&ok);
    return ok;
}

double numberOf(const Value& v) {
    if (v.isNull()) throw RunError(QStringLiteral("Invalid use of Null"));
    const auto& r = v.raw();
    if (auto p = std::get_if<int64_t>(&r)) return double(*p);
    if (auto p = std::get_if<double>(&r)) return *p;
    if (auto p = std::get_if<Currency>(&r)) return p->toDouble();
    double d = 0;
    if (!parseNumber(std::get<QString>(r), d))
        throw RunError(
            QStringLiteral("Type mismatch: '%1' is not a number").arg(std::get<QString>(r)));
    return d;
}
} // namespace

namespace {

bool hasWildcard(const QString& name) {
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

// The file name's pattern: "*" any run of characters, "?" any one, every other character itself.
QRegularExpression namePattern(const QString& name, bool caseSensitive) {
    QString re;
    for (QChar ch : name) {
        if (ch == QLatin1Char('*'))
            re += QStringLiteral(".*");
        else if (ch == QLatin1Char('?'))
            re += QLatin1Char('.');
        else
            re += QRegularExpression::escape(QString(ch));
    }
    QRegularExpression::PatternOptions options = QRegularExpression::DotMatchesEverythingOption;
    if (!caseSensitive) options |= QRegularExpression::CaseInsensitiveOption;
    return QRegularExpression(QRegularExpression::anchoredPattern(re), options);
}

// Whether the folder's file system tells case apart: one of its names, spelled in the other
// case, either stands beside it in the listing or is not found at all.
bool tellsCaseApart(const QDir& dir, const QStringList& entries) {
    for (const QString& entry : entries) {
        const QString other = entry.toLower() != entry ? entry.toLower() : entry.toUpper();
        if (other == entry) continue;
        if (entries.contains(other)) return true;
        return !QFileInfo::exists(dir.filePath(other));
    }
    return true;
}

} // namespace

bool FileSearchFinds(const QString& pattern) {
    QString p = pattern;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const qsizetype slash = p.lastIndexOf(QLatin1Char('/'));
    const QString name = p.mid(slash + 1);
    if (name.isEmpty()) return false;
    const QString folder = slash < 0 ? QStringLiteral(".")
        : slash == 0                 ? QStringLiteral("/")
                                     : p.left(slash);
    // the folder part is a plain path: a wildcard there finds nothing, as it names no folder
    const QFileInfo folderInfo(folder);
    if (!folderInfo.isDir()) return false;
    if (!folderInfo.isReadable())
        throw RunError(QStringLiteral("Path/File access error: ") + pattern);
    const QDir dir(folder);
    if (!hasWildcard(name)) {
        // the open's own lookup, so the check accepts exactly what the open finds
        const QFileInfo file(dir.filePath(name));
        return file.isFile() && !file.isHidden();
    }
    const QStringList entries = dir.entryList(QDir::Files | QDir::NoDotAndDotDot);
    const QRegularExpression re = namePattern(name, tellsCaseApart(dir, entries));
    for (const QString& entry : entries)
        if (re.match(entry).hasMatch()) return true;
    return false;
}

QDate Today() {
    return clock() ? clock()() : QDate::currentDate();
}

void SetClock(std::function<QDate()> c) {
    clock() = std::move(c);
}

bool IsNumeric(const Value& v) {
    if (v.isNull()) return false;
    if (v.isNumber()) return true;
    double d = 0;
    return parseNumber(std::get<QString>(v.raw()), d);
}

double RoundHalfEven(double x) {
    double r = std::nearbyint(x); // default rounding mode: to nearest, ties to even
    return r;
}

int16_t CInt(const Value& v) {
    return v.toInt16();
}
int32_t CLng(const Value& v) {
    return v.toInt32();
}

QString Value::toText() const {
    if (isNull()) throw RunError(QStringLiteral("Invalid use of Null"));
    if (auto p = std::get_if<QString>(&v_)) return *p;
    if (auto p = std::get_if<int64_t>(&v_)) return QString::number(*p);
    if (auto p = std::get_if<Currency>(&v_)) return p->toText();
    double d = std::get<double>(v_);
    if (d == std::floor(d) && std::fabs(d) < 1e15) return QString::number(int64_t(d));
    return QString::number(d, 'g', 15);
}

Currency Value::toCurrency() const {
    if (auto p = std::get_if<Currency>(&v_)) return *p;
    if (auto p = std::get_if<int64_t>(&v_)) return Currency::fromInt(*p);
    return Currency::fromDouble(numberOf(*this));
}

double Value::toDouble() const {
    return numberOf(*this);
}

int16_t Value::toInt16() const {
    double r = RoundHalfEven(numberOf(*this));
    if (r < -32768.0 || r > 32767.0) throwOverflow(QStringLiteral("16-bit integer"));
    return int16_t(r);
}

int32_t Value::toInt32() const {
    if (auto p = std::get_if<int64_t>(&v_)) {
        if (*p < std::numeric_limits<int32_t>::min() || *p > std::numeric_limits<int32_t>::max())
            throwOverflow(QStringLiteral("32-bit integer"));
        return int32_t(*p);
    }
    double r = RoundHalfEven(numberOf(*this));
    if (r < -2147483648.0 || r > 2147483647.0) throwOverflow(QStringLiteral("32-bit integer"));
    return int32_t(r);
}

} // namespace rt
