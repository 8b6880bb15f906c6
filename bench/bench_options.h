// The benchmark's command line, read strictly: a malformed or out-of-range value ends the
// benchmark as a usage error before anything is built, so no run can pass on zero rows.
#pragma once

#include "platform/runtime/error.h"
#include "storekit/large_list.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <climits>
#include <vector>

namespace bench {

struct Options {
    std::vector<int> rows { 1000, 10000 };
    QString version = QStringLiteral("V.31");
    storekit::LargeListShape shape;
    QString csv, dir;
    bool kill = false;
    bool profile = false;
    bool window = false; // run through the Qt window instead of one that pumps nothing
    bool help = false;
};

inline const char kUsage[]
    = "usage: transfer_bench [--rows N,N...] [--version V] [--new-share 0..1] [--alts 0..5] "
      "[--table-rows N] [--csv file] [--dir folder] [--window] [--profile] [--kill]\n"
      "       transfer_bench --help\n";

// Digits only: "5k", "1O00", "+5", "1.5" and "" are refused rather than read as a part of them.
inline int WholeNumber(const QString& option, const QString& text, int low, int high = INT_MAX) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    bool ok = digits.match(text).hasMatch();
    const int n = ok ? text.toInt(&ok) : 0;
    if (!ok || n < low || n > high)
        throw rt::RunError(
            QStringLiteral("%1: \"%2\" is not a whole number %3")
                .arg(option, text,
                    high == INT_MAX ? QStringLiteral("of %1 or more").arg(low)
                                    : QStringLiteral("from %1 to %2").arg(low).arg(high)));
    return n;
}

inline double Share(const QString& option, const QString& text) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !(v >= 0 && v <= 1)) // also refuses nan
        throw rt::RunError(
            QStringLiteral("%1: \"%2\" is not a share from 0 to 1").arg(option, text));
    return v;
}

// The arguments after the program's name; any fault throws, naming the option.
inline Options ParseOptions(const QStringList& args) {
    Options o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto next = [&]() -> QString {
            if (i + 1 >= args.size()) throw rt::RunError(a + QStringLiteral(" needs a value"));
            return args[++i];
        };
        if (a == QLatin1String("--rows")) {
            o.rows.clear();
            for (const QString& n : next().split(QLatin1Char(',')))
                o.rows.push_back(WholeNumber(a, n, 1));
        } else if (a == QLatin1String("--version")) {
            o.version = next();
            if (const QString unknown = storekit::UnknownVersion(o.version); !unknown.isEmpty())
                throw rt::RunError(a + QStringLiteral(": ") + unknown);
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            o.help = true;
        else if (a == QLatin1String("--new-share"))
            o.shape.newShare = Share(a, next());
        else if (a == QLatin1String("--alts")) // the list builder takes up to five
            o.shape.altsPerNew = WholeNumber(a, next(), 0, 5);
        else if (a == QLatin1String("--table-rows"))
            o.shape.tableRows = WholeNumber(a, next(), 1);
        else if (a == QLatin1String("--csv"))
            o.csv = next();
        else if (a == QLatin1String("--dir"))
            o.dir = next();
        else if (a == QLatin1String("--window"))
            o.window = true;
        else if (a == QLatin1String("--profile"))
            o.profile = true;
        else if (a == QLatin1String("--kill"))
            o.kill = true;
        else
            throw rt::RunError(QStringLiteral("unknown option ") + a);
    }
    return o;
}

// Whether the --csv file can be written, found before minutes of work; the file itself is written
// only once the figures are there, so an existing one keeps its contents until then.
inline void CheckCsvWritable(const QString& path) {
    QFile f(path);
    const bool ok = f.exists() ? f.open(QIODevice::WriteOnly | QIODevice::Append)
                               : f.open(QIODevice::WriteOnly | QIODevice::NewOnly) && f.remove();
    if (!ok) throw rt::RunError(QStringLiteral("--csv: cannot write ") + path);
}

} // namespace bench
