// Reading a stand-in store back in tests: see query_rows.h.
#include "query_rows.h"

#include "storekit/storekit.h"

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

} // namespace testenv
