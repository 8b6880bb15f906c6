// Query rows as texts.
#include "query_rows.h"

namespace testenv {

QStringList QueryRows(ado::Connection& cn, const QString& sql) {
    ado::Recordset rs;
    rs.Open(sql, cn);
    const QStringList cols
        = sql.section(QStringLiteral(" From "), 0, 0).mid(7).split(QStringLiteral(", "));
    QStringList out;
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList cells;
        for (const QString& c : cols)
            cells << rs.Field(c).textOrEmpty();
        out << cells.join(QLatin1Char('|'));
    }
    rs.Close();
    return out;
}

} // namespace testenv
