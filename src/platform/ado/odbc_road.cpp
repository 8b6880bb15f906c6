// The ODBC road: opening a data source through the driver manager, the command timeout on each
// statement handle, and the statements the layer sends a SQL server itself.
#include "ado.h"
#include "desktop_file.h"
#include "freetds_settings.h"
#include "internal.h"

#include <QElapsedTimer>
#include <QSqlDriver>
#include <QSqlResult>
#include <QStringList>
#include <optional>
#include <sql.h>
#include <sqlext.h>

namespace ado {

namespace {

// The ODBC handle a Qt driver or result carries (null when it carries none).
SQLHANDLE odbcHandle(const QVariant& v) {
    if (!v.isValid() || v.metaType().sizeOf() != int(sizeof(SQLHANDLE))) return nullptr;
    return *static_cast<const SQLHANDLE*>(v.constData());
}

// The ODBC driver's DBMS name, to tell a SQLite file behind the ODBC driver from a server.
QString odbcDbmsName(QSqlDatabase& db) {
    SQLHANDLE h = odbcHandle(db.driver()->handle());
    if (!h) return {};
    SQLCHAR name[128] = { 0 };
    SQLSMALLINT len = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(h, SQL_DBMS_NAME, name, sizeof(name), &len))) return {};
    return QString::fromLatin1(reinterpret_cast<const char*>(name));
}

// The diagnostics of a failed ODBC call, as the driver gives them.
QString odbcDiagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    QStringList messages;
    SQLCHAR state[6] = { 0 };
    SQLCHAR text[1024] = { 0 };
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    for (SQLSMALLINT i = 1;
         SQL_SUCCEEDED(SQLGetDiagRec(type, handle, i, state, &native, text, sizeof(text), &length));
         ++i)
        messages << QString::fromUtf8(reinterpret_cast<const char*>(text)).trimmed();
    return messages.isEmpty() ? QStringLiteral("Database error") : messages.join(QLatin1Char(' '));
}

// Whether the driver has given up the link: a request of the connection was answered neither in
// its timeout nor at its cancel.
bool linkDead(QSqlDatabase& db) {
    SQLHANDLE h = odbcHandle(db.driver()->handle());
    SQLUINTEGER dead = SQL_CD_FALSE;
    return h && SQL_SUCCEEDED(SQLGetConnectAttr(h, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr))
        && dead == SQL_CD_TRUE;
}

void setQueryTimeout(SQLHANDLE statement, int seconds) {
    SQLSetStmtAttr(statement, SQL_ATTR_QUERY_TIMEOUT,
        reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(qMax(0, seconds))), 0);
}

// A statement handle of the layer's own on the connection, with the command timeout, freed with
// it: the requests the layer sends itself, which neither trace sees.
class OwnStatement {
public:
    OwnStatement(QSqlDatabase& db, int timeout)
        : dbc_(odbcHandle(db.driver()->handle())) {
        if (!dbc_ || !SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &h_))) h_ = nullptr;
        if (h_) setQueryTimeout(h_, timeout);
    }
    ~OwnStatement() {
        if (h_) SQLFreeHandle(SQL_HANDLE_STMT, h_);
    }
    OwnStatement(const OwnStatement&) = delete;
    OwnStatement& operator=(const OwnStatement&) = delete;

    bool allocated() const { return h_ != nullptr; }
    // Why the handle could not be had.
    QString allocationFailure() const {
        return dbc_ ? odbcDiagnostics(SQL_HANDLE_DBC, dbc_) : QStringLiteral("Database error");
    }
    SQLRETURN exec(const char* statement) {
        return SQLExecDirect(h_, reinterpret_cast<SQLCHAR*>(const_cast<char*>(statement)), SQL_NTS);
    }
    // Runs a statement through all its results; its failure's text, null when it succeeded.
    QString run(const char* statement) {
        SQLRETURN r = exec(statement);
        while (SQL_SUCCEEDED(r))
            r = SQLMoreResults(h_);
        return r == SQL_NO_DATA ? QString() : diagnostics();
    }
    // The whole number a query answers in its first row and column; none when it fails.
    std::optional<qint64> number(const char* query) {
        SQLINTEGER value = 0;
        SQLLEN indicator = SQL_NULL_DATA;
        SQLRETURN r = exec(query);
        if (SQL_SUCCEEDED(r)) r = SQLFetch(h_);
        if (SQL_SUCCEEDED(r)) r = SQLGetData(h_, 1, SQL_C_SLONG, &value, 0, &indicator);
        if (!SQL_SUCCEEDED(r) || indicator == SQL_NULL_DATA) return std::nullopt;
        while (SQL_SUCCEEDED(SQLMoreResults(h_))) { }
        return value;
    }
    QString diagnostics() const { return odbcDiagnostics(SQL_HANDLE_STMT, h_); }

private:
    SQLHANDLE dbc_;
    SQLHANDLE h_ = nullptr;
};

} // namespace

void Connection::openOdbc() {
    SettleTdsVersion(connectionString_);
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name_);
    // The driver manager gives every statement handle the command timeout, those Qt and the
    // driver open of their own included (Qt's set-up statements on a SQL server); the store's
    // string follows as built.
    QString string = connectionString_;
    if (commandTimeout_ > 0)
        string.prepend(
            QStringLiteral("DMStmtAttr=SQL_ATTR_QUERY_TIMEOUT=%1;").arg(commandTimeout_));
    db_.setDatabaseName(string);
    QString options = QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%1")
                          .arg(qMax(0, commandTimeout_));
    if (mode_ == 1) options += QStringLiteral(";SQL_ATTR_ACCESS_MODE=SQL_MODE_READ_ONLY");
    db_.setConnectOptions(options);
    auto fail = [this](const QString& message) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
        throw rt::RunError(message);
    };
    QElapsedTimer clock;
    clock.start();
    if (!db_.open()) fail(driverAndDatabaseText(db_.lastError()));
    const qint64 openMs = clock.elapsed();
    // Qt's open goes on past a set-up statement of its own that failed: one the server left
    // unanswered, its cancel too, has cost the link, and every later request would fail at once.
    if (linkDead(db_))
        fail(QStringLiteral(
            "Communication link failure: the server did not answer the set-up of the connection"));
    const QString dbms = odbcDbmsName(db_);
    sqliteBackend_ = dbms.contains(QStringLiteral("SQLite"), Qt::CaseInsensitive);
    // A set-up statement the server answered only at its cancel has left the link alive. The
    // login already asks a SQL server for the ODBC settings (quoted identifiers among them), so
    // the session cannot tell whether Qt's statement ran; its age since the login can. Only an
    // open that lasted the command timeout may hold such a request: a normal open asks nothing.
    // Within the rounding of the server's clock, a set-up that took the timeout ran to it.
    const qint64 timeoutMs = qint64(commandTimeout_) * 1000 - 100;
    if (commandTimeout_ > 0 && openMs >= timeoutMs
        && dbms.contains(QStringLiteral("Microsoft SQL Server"))) {
        // the handle goes before a failed open closes the connection
        const std::optional<qint64> age = [this] {
            OwnStatement own(db_, commandTimeout_);
            if (!own.allocated()) return std::optional<qint64>();
            return own.number("SELECT DATEDIFF(millisecond, login_time, SYSDATETIME()) FROM "
                              "sys.dm_exec_sessions WHERE session_id = @@SPID");
        }();
        if (!age || *age >= timeoutMs)
            fail(QStringLiteral(
                "Timeout expired: the server did not answer the set-up of the connection"));
    }
    odbc_ = true;
}

void Connection::bound(QSqlQuery& q) {
    if (!odbc_ || !q.result()) return;
    // per statement: a driver may refuse the timeout as a default of the connection (FreeTDS)
    if (SQLHANDLE h = odbcHandle(q.result()->handle())) setQueryTimeout(h, commandTimeout_);
}

bool Connection::storeHoldsTransaction() {
    if (desktopFile_) return SqliteHoldsTransaction(db_);
    // a link the driver gave up has lost the session, and its transaction with it
    if (linkDead(db_)) return false;
    OwnStatement own(db_, commandTimeout_);
    if (!own.allocated()) return false;
    if (onServer()) return own.number("SELECT @@TRANCOUNT").value_or(0) > 0;
    // The SQLite driver does not notice the file ending the transaction: it goes on as if in
    // one, and runs later statements one by one. SQLite refuses a BEGIN inside a transaction; a
    // BEGIN it takes opens an empty one in place of the ended one, which the rollback then ends
    // as the driver expects.
    return !SQL_SUCCEEDED(own.exec("BEGIN"))
        && own.diagnostics().contains(QLatin1String("within a transaction"), Qt::CaseInsensitive);
}

void Connection::runOnServer(const char* statement) {
    OwnStatement own(db_, commandTimeout_);
    if (!own.allocated()) throw rt::RunError(own.allocationFailure());
    if (const QString failure = own.run(statement); !failure.isNull()) throw rt::RunError(failure);
}

} // namespace ado
