// Reading a stand-in store back in tests: see query_rows.h.
#include "query_rows.h"

#include "storekit/storekit.h"

#include <algorithm>

namespace testenv {

QStringList QueryRows(ado::Connection& cn, const QString& sql, const QString& nullText) {
    const QStringList names
        = sql.section(QStringLiteral(" From "), 0, 0).mid(7).split(QStringLiteral(", "));
    ado::Recordset rs;
    rs.Open(sql, cn);
    QStringList out;
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList fields;
        for (const QString& name : names) {
            const rt::Value v = rs.Field(name);
            fields << (v.isNull() ? nullText : v.toText());
        }
        out << fields.join(QLatin1Char('|'));
    }
    rs.Close();
    return out;
}

QStringList QueryRows(
    const QString& path, const QString& sql, const QString& nullText, const QString& password) {
    ado::Connection cn;
    storekit::OpenFile(cn, path, password);
    return QueryRows(cn, sql, nullText);
}

QStringList Traced(const std::function<void()>& run) {
    QStringList seen;
    ado::SetTraceHook([&](const QString& s) { seen << s; });
    struct Unhook {
        ~Unhook() { ado::SetTraceHook(nullptr); }
    } unhook;
    run();
    return seen;
}

QStringList StartingWith(const QStringList& statements, const QStringList& heads) {
    QStringList out;
    for (const QString& s : statements)
        if (std::any_of(
                heads.begin(), heads.end(), [&](const QString& h) { return s.startsWith(h); }))
            out << s;
    return out;
}

Trace::Trace() {
    ado::SetTraceHook([this](const QString& s) { statements << s; });
}

Trace::~Trace() {
    ado::SetTraceHook(nullptr);
}

FoldedTrace::FoldedTrace(const QStringList& groupMarks) {
    ado::SetTraceHook([this, groupMarks](const QString& s) {
        QString line = s;
        if (s.contains(QLatin1String("LastID")))
            line = QStringLiteral("<key>");
        else if (std::any_of(groupMarks.begin(), groupMarks.end(),
                     [&](const QString& m) { return s.contains(m); }))
            line = QStringLiteral("<group>");
        if (line.startsWith(QLatin1Char('<')) && !lines.isEmpty() && lines.last() == line) return;
        lines << line;
    });
}

FoldedTrace::~FoldedTrace() {
    ado::SetTraceHook(nullptr);
}

} // namespace testenv
