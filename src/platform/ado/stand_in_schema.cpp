// The stand-in's schema: the collation and the length checks a table created on a SQLite file
// gets, so that it compares and refuses texts as the store would.
#include "stand_in_schema.h"

#include "internal.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QStringList>

namespace ado {

namespace {
const QRegularExpression& createTable() {
    static const QRegularExpression re(QStringLiteral("^\\s*create\\s+table\\s+\\[?(\\w+)\\]?"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}
} // namespace

QString CreatedTable(const QString& statement) {
    const auto m = createTable().match(statement);
    return m.hasMatch() ? m.captured(1) : QString();
}

// The desktop database and a SQL server's default collation compare texts without case; SQLite
// compares a column declared Text(n) or nvarchar(n) exactly.
QString ComparedAsTheStore(const QString& statement) {
    static const QRegularExpression textColumn(
        QStringLiteral("\\b((?:text|n?varchar|n?char)\\s*\\(\\s*\\d+\\s*\\))(?!\\s*collate\\b)"),
        QRegularExpression::CaseInsensitiveOption);
    if (!createTable().match(statement).hasMatch()) return statement;
    QString sent = statement;
    sent.replace(textColumn, QStringLiteral("\\1 COLLATE NOCASE"));
    return sent;
}

void InstallLengthChecks(QSqlDatabase& db, const QString& table) {
    static const QRegularExpression declared(
        QStringLiteral("^\\s*(?:text|n?varchar|n?char)\\s*\\(\\s*(\\d+)\\s*\\)"),
        QRegularExpression::CaseInsensitiveOption);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table)))
        throw rt::RunError(driverAndDatabaseText(q.lastError()));
    QStringList checks;
    while (q.next()) {
        QString col = q.value(1).toString();
        auto m = declared.match(q.value(2).toString());
        if (!m.hasMatch()) continue;
        checks << QStringLiteral("SELECT RAISE(ABORT, 'The field %1.%2 is too small to accept the "
                                 "amount of data (%3 characters)') WHERE length(NEW.\"%2\") > %3;")
                      .arg(table, col, m.captured(1));
    }
    q.finish();
    for (const char* when : { "INSERT", "UPDATE" }) {
        QString name = QStringLiteral("kordane_len_%1_%2").arg(table, QLatin1String(when));
        if (!q.exec(QStringLiteral("DROP TRIGGER IF EXISTS \"%1\"").arg(name)))
            throw rt::RunError(driverAndDatabaseText(q.lastError()));
        if (checks.isEmpty()) continue;
        QString sql = QStringLiteral("CREATE TRIGGER \"%1\" BEFORE %2 ON \"%3\" BEGIN %4 END")
                          .arg(name, QLatin1String(when), table, checks.join(QLatin1Char(' ')));
        if (!q.exec(sql)) throw rt::RunError(driverAndDatabaseText(q.lastError()));
    }
}

} // namespace ado
