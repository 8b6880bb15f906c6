// Text and number helpers of mduValue.
#include "mduValue.h"

#include "platform/runtime/error.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/text.h"

#include <limits>

namespace mduValue {

namespace {

const QChar kBlank(u' ');

// Positions of the cleaning and classic sort-key scans are 16-bit; leaving the range is an error.
int16_t next16(int16_t p) {
    if (p == std::numeric_limits<int16_t>::max()) rt::throwOverflow(QStringLiteral("position"));
    return int16_t(p + 1);
}

bool isControl(QChar c) {
    return c.unicode() <= 20 || c.unicode() == 127;
}

bool isDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool isLeadingVowel(QChar c) {
    return c.unicode() >= 0x0E40 && c.unicode() <= 0x0E44;
}

// The three passes of cleaning on t itself. Each pass moves on after a removal, so the
// character that slides into the removed one's place is not looked at by that pass.
void cleanPasses(QString& t) {
    for (int16_t p = 1; p <= t.size(); p = next16(p)) {
        if (isControl(t[p - 1])) t.remove(p - 1, 1);
    }
    if (!t.isEmpty() && isControl(t.back())) t.chop(1);
    for (int16_t q = 1; q <= t.size(); q = next16(q)) {
        QChar& c = t[q - 1];
        if (c == u'\'') c = kBlank;
        if (c == u',') c = kBlank;
        if (c == u'*') t.remove(q - 1, 1);
    }
}

} // namespace

QString SqueezeText(const QString& s) {
    QString t = rt::Trim(s);
    t.remove(kBlank);
    t.remove(u'/');
    t.remove(u'-');
    return t;
}

QString SqueezePartNo(const QString& s) {
    return SqueezeText(s);
}

QString RemoveBlanks(const rt::Value& v) {
    return rt::Trim(v.toText()).remove(kBlank);
}

QString MakeMatchKey(const QString& s) {
    if (rt::Trim(s).isEmpty()) return QString();
    return SqueezeText(rt::Trim(CleanText(s)));
}

QString IsuzuPartCode(const QString& s) {
    // the 2nd character, or the only one of a one-character text
    const QString second = s.left(2).right(1);
    if (second == QStringLiteral("-")) return s.mid(s.indexOf(u'-') + 1).left(9);
    return s.left(9);
}

QString NissanPartCode(const QString& s) {
    if (s.size() >= 6 && s[5] == u'-') return s.left(9);
    return s;
}

QString PartSearchCode(const QString& brand, const QString& partNo, const QString& storeVersion) {
    static const QString squeezedVersions[] = { QStringLiteral("P.45 (Bar)"),
        QStringLiteral("P.48 (Bar)"), QStringLiteral("P.49 (Bar)"), QStringLiteral("P.64 (Bar)"),
        QStringLiteral("P.65 (Bar)") };
    const QString version = rt::Trim(storeVersion);
    for (const QString& v : squeezedVersions)
        if (version == v) return SqueezePartNo(partNo);
    if (brand == QStringLiteral("ISUZU")) return IsuzuPartCode(partNo);
    if (brand == QStringLiteral("NISSAN")) return NissanPartCode(partNo);
    if (brand == QStringLiteral("UD")) return NissanPartCode(partNo);
    if (brand == QStringLiteral("BENZ")) return SqueezePartNo(partNo);
    return QString();
}

QString FormatPartNo(const rt::Value& v) {
    if (v.isNull()) return QString();
    const QString s = RemoveBlanks(v);
    if (s.isEmpty()) return QString();
    const QString dash = QStringLiteral("-");
    // the 6th character, or the last one of a shorter text
    if (s.left(6).right(1) == dash) {
        if (s.size() <= 11) return s;
        return s.left(11) + kBlank + s.mid(11);
    }
    if (s.contains(u'.') || s.contains(u'(') || s.size() <= 5) return s;
    if (s.size() <= 10) return s.left(5) + dash + s.mid(5);
    return s.left(5) + dash + s.mid(5, 5) + kBlank + s.mid(10);
}

QString FormatPartNoV(const rt::Value& v) {
    const QString s = FormatPartNo(v);
    return s.isEmpty() ? s : QStringLiteral("V") + s;
}

QString CleanText(const QString& s) {
    if (rt::Trim(s).isEmpty()) return QString();
    QString t = s;
    cleanPasses(t);
    return rt::Trim(t);
}

QString CleanTextVar(rt::Value& v) {
    if (v.isNull() || rt::Trim(v.toText()).isEmpty()) return QString();
    const QString original = v.toText();
    QString t = original;
    try {
        cleanPasses(t);
    } catch (const rt::RunError&) {
        // the caller's variable holds whatever was cleaned before the error
        if (t != original) v = rt::Value(t);
        throw;
    }
    t = rt::Trim(t);
    if (t.endsWith(u'-')) t.chop(1);
    if (t.endsWith(u'*')) t.chop(1);
    if (t.endsWith(u'.')) t.chop(1);
    v = rt::Value(t);
    return rt::Trim(t);
}

QString LeadingDigitsText(const rt::Value& v) {
    QString t = v.toText();
    while (!rt::Trim(t).isEmpty()) {
        if (t.size() < 2) {
            if (!isDigit(t[0])) t.clear();
            break;
        }
        if (isDigit(t[0])) break;
        t.remove(0, 1);
    }
    const QString pair(2, kBlank);
    for (qsizetype i = t.indexOf(pair); i >= 0; i = t.indexOf(pair, i))
        t.remove(i, 1);
    return rt::Trim(t);
}

int16_t ToInteger(const rt::Value& v) {
    return rt::IsNumeric(v) ? rt::CInt(v) : int16_t(0);
}

QString ThaiSortKey(const rt::Value& v) {
    if (!v.isText()) return QString();
    QString t = rt::Trim(v.toText());
    const qsizetype last = t.size() - 1;
    if (last > std::numeric_limits<int16_t>::max()) rt::throwOverflow(QStringLiteral("position"));
    const auto n = int16_t(last);
    for (int16_t i = 1; i <= n; i = next16(i)) {
        if (isLeadingVowel(t[i - 1])) {
            std::swap(t[i - 1], t[i]);
            i = next16(i);
        }
    }
    return t;
}

QString ThaiSortKeyPta(const rt::Value& v) {
    if (!v.isText()) return QString();
    QString t = v.toText();
    if (rt::Trim(t).isEmpty()) return QString();
    for (char16_t vowel = 0x0E40; vowel <= 0x0E44; ++vowel) {
        const qsizetype n = t.size() - 1;
        for (qsizetype i = 0; i < n; ++i) {
            if (t[i] == QChar(vowel)) {
                std::swap(t[i], t[i + 1]);
                ++i;
            }
        }
    }
    return t;
}

QString Pad2(int32_t n) {
    if (n < 10) return QStringLiteral("0") + QString::number(n);
    if (n < 100) return QString::number(n);
    return QString();
}

QString Pad3(int32_t n) {
    if (n < 10) return QStringLiteral("00") + QString::number(n);
    if (n < 100) return QStringLiteral("0") + QString::number(n);
    if (n < 1000) return QString::number(n);
    return QString();
}

QString JoinModels(const std::array<QString, 12>& models) {
    QString t = rt::Trim(models[0]);
    for (size_t k = 1; k < models.size(); ++k) {
        const QString m = rt::Trim(models[k]);
        if (!m.isEmpty()) t += QStringLiteral(", ") + m;
    }
    return t.left(30);
}

} // namespace mduValue
