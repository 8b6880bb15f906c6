// Currency parsing and its statement text.
#include "currency.h"
#include "error.h"

#include <cmath>
#include <limits>

namespace rt {

namespace {
constexpr double kMaxUnits = 9.2e18;
}

Currency Currency::fromDouble(double value) {
    if (!std::isfinite(value)) throw RunError(QStringLiteral("Type mismatch: not a number"));
    double scaled = std::nearbyint(value * 10000.0);
    if (std::fabs(scaled) > kMaxUnits) throwOverflow(QStringLiteral("currency"));
    return fromUnits(static_cast<int64_t>(scaled));
}

Currency Currency::fromInt(int64_t value) {
    if (value > 922337203685477LL || value < -922337203685477LL)
        throwOverflow(QStringLiteral("currency"));
    return fromUnits(value * 10000);
}

Currency Currency::parse(const QString& text) {
    QString t = text.trimmed();
    bool ok = false;
    double d = t.toDouble(&ok); // QString::toDouble is locale-independent ("." only)
    if (!ok || t.isEmpty())
        throw RunError(QStringLiteral("Type mismatch: '%1' is not a number").arg(text));
    return fromDouble(d);
}

QString Currency::toText() const {
    int64_t u = units_;
    bool negative = u < 0;
    uint64_t a = negative ? uint64_t(0) - uint64_t(u) : uint64_t(u);
    QString whole = QString::number(a / 10000);
    uint64_t frac = a % 10000;
    QString out = negative ? QStringLiteral("-") + whole : whole;
    if (frac != 0) {
        QString f = QString::number(frac).rightJustified(4, QLatin1Char('0'));
        while (f.endsWith(QLatin1Char('0')))
            f.chop(1);
        out += QLatin1Char('.') + f;
    }
    return out;
}

} // namespace rt
