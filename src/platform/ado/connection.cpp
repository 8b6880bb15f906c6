// Connection: the connection itself, its statements and its transactions. The ODBC road, the
// desktop file's care, the stand-in's schema and FreeTDS's settings have files of their own.
#include "ado.h"
#include "internal.h"
#include "open_connections.h"
#include "side_file_vfs.h"
#include "stand_in_schema.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace ado {

namespace {

TraceHook& traceHook() {
    static TraceHook hook;
    return hook;
}

EventHook& eventHook() {
    static EventHook hook;
    return hook;
}

bool& rowCountsWithheld() {
    static bool withheld = false;
    return withheld;
}

} // namespace

QString driverAndDatabaseText(const QSqlError& e) {
    if (QString refused = SideFileRefusalBehind(e); !refused.isEmpty()) return refused;
    QString db = e.databaseText().trimmed();
    QString drv = e.driverText().trimmed();
    if (db.isEmpty()) return drv.isEmpty() ? QStringLiteral("Database error") : drv;
    return drv.isEmpty() ? db : drv + QStringLiteral(": ") + db;
}

QString databaseTextAlone(const QSqlError& e) {
    if (QString refused = SideFileRefusalBehind(e); !refused.isEmpty()) return refused;
    QString db = e.databaseText().trimmed();
    return db.isEmpty() ? e.text().trimmed() : db;
}

void SetTraceHook(TraceHook hook) {
    traceHook() = std::move(hook);
}

void trace(const QString& statement) {
    if (traceHook()) traceHook()(statement);
}

void SetEventHook(EventHook hook) {
    eventHook() = std::move(hook);
}

void WithholdRowCounts(bool withhold) {
    rowCountsWithheld() = withhold;
}

int64_t rowsAffected(const QSqlQuery& q) {
    const int64_t n = q.numRowsAffected();
    return rowCountsWithheld() || n < 0 ? -1 : n;
}

bool tracingEvents() {
    return bool(eventHook());
}

void traceEvent(const TraceEvent& event) {
    if (eventHook()) eventHook()(event);
}

void Connection::settleReads() {
    for (Recordset* rs : recordsets_)
        rs->fetchAll(); // reading through finishes the query
}

void Connection::settleOrAbandonReads() {
    try {
        settleReads();
    } catch (...) {
        abandonReads();
    }
}

void Connection::abandonReads() {
    for (Recordset* rs : recordsets_)
        rs->finishQuery();
}

void Connection::forget(const Recordset* rs) {
    std::erase(recordsets_, rs);
}

std::map<QString, QString> ParseConnectionString(const QString& text) {
    std::map<QString, QString> out;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        qsizetype eq = text.indexOf(QLatin1Char('='), i);
        if (eq < 0) break;
        QString key = text.mid(i, eq - i).trimmed().toLower();
        qsizetype j = eq + 1;
        QString value;
        if (j < n && text[j] == QLatin1Char('{')) {
            qsizetype close = text.indexOf(QLatin1Char('}'), j);
            if (close < 0) close = n;
            value = text.mid(j + 1, close - j - 1);
            j = text.indexOf(QLatin1Char(';'), close);
            if (j < 0) j = n;
        } else {
            qsizetype semi = text.indexOf(QLatin1Char(';'), j);
            if (semi < 0) semi = n;
            value = text.mid(j, semi - j);
            j = semi;
        }
        if (!key.isEmpty() && !out.count(key)) out[key] = value;
        i = j + 1;
    }
    return out;
}

bool IsDesktopDriver(const QString& d) {
    return d.compare(
               QStringLiteral("Microsoft Access Driver (*.mdb, *.accdb)"), Qt::CaseInsensitive)
        == 0
        || d.compare(QStringLiteral("Microsoft Access Driver (*.mdb)"), Qt::CaseInsensitive) == 0;
}

Connection::Connection()
    : name_(QStringLiteral("kordane-") + QUuid::createUuid().toString()) { }

Connection::~Connection() {
    try {
        Close();
    } catch (...) { }
    // recordsets still open keep their rows but can write no more
    for (Recordset* rs : recordsets_)
        rs->connection_ = nullptr;
}

void Connection::requireClosed(const char* what) const {
    if (open_)
        throw rt::RunError(QStringLiteral("Operation is not allowed when the object is open (%1)")
                               .arg(QLatin1String(what)));
}

void Connection::setConnectionString(const QString& s) {
    requireClosed("ConnectionString");
    connectionString_ = s;
}
void Connection::setCommandTimeout(int seconds) {
    commandTimeout_ = seconds;
}
void Connection::setCursorLocation(int location) {
    requireClosed("CursorLocation");
    cursorLocation_ = location;
}
void Connection::setMode(int mode) {
    requireClosed("Mode");
    mode_ = mode;
}

QSqlDatabase& Connection::database() {
    if (!open_)
        throw rt::RunError(QStringLiteral("Operation is not allowed when the object is closed"));
    return db_;
}

void Connection::Open() {
    requireClosed("Open");
    auto attrs = ParseConnectionString(connectionString_);
    if (IsDesktopDriver(attrs[QStringLiteral("driver")]))
        openDesktopFile(attrs);
    else
        openOdbc();
    oneActiveResult_ = !sqliteBackend_;
    open_ = true;
    inTransaction_ = false;
    toldRowCount_ = false;
    endedBy_.clear();
    RegisterOpen(this, filePath_);
}

bool Connection::run(QSqlQuery& q, const QString& statement) {
    if (!odbc_) return q.exec(statement);
    // A text that does not prepare as it stands (or that Qt would read as having named
    // placeholders) runs directly, as it always did.
    if (!q.prepare(statement) || q.executedQuery() != statement) return q.exec(statement);
    bound(q);
    return q.exec();
}

void Connection::failed(const QString& cause) {
    if (inTransaction_ && endedBy_.isEmpty() && !storeHoldsTransaction()) endedBy_ = cause;
    throw rt::RunError(cause);
}

void Connection::requireTransactionKept() const {
    if (!endedBy_.isEmpty())
        throw rt::RunError(
            QStringLiteral("The database ended the transaction at an earlier failure: %1")
                .arg(endedBy_));
}

int64_t Connection::Execute(const QString& statement) {
    trace(statement);
    QSqlDatabase& db = database();
    requireTransactionKept();
    settleReads();
    const QString sent = sqliteBackend_ ? ComparedAsTheStore(statement) : statement;
    if (tracingEvents()) traceEvent({ TraceKind::Execute, this, nullptr, sent, {}, 0 });
    QSqlQuery q(db);
    if (!run(q, sent)) {
        const QString cause = driverAndDatabaseText(q.lastError());
        q = QSqlQuery(); // its statement handle goes before the store is asked
        failed(cause);
    }
    const int64_t affected = rowsAffected(q);
    toldRowCount_ = affected >= 0;
    q.finish();
    wrote();
    if (sqliteBackend_) {
        const QString table = CreatedTable(statement);
        if (!table.isEmpty()) InstallLengthChecks(db, table);
    }
    return affected;
}

void Connection::ExecuteOwn(const QString& statement) {
    QSqlDatabase& db = database();
    requireTransactionKept();
    settleReads();
    if (tracingEvents()) traceEvent({ TraceKind::Own, this, nullptr, statement, {}, 0 });
    QSqlQuery q(db);
    if (!run(q, statement)) {
        const QString cause = driverAndDatabaseText(q.lastError());
        q = QSqlQuery();
        failed(cause);
    }
    q.finish();
    wrote();
}

void Connection::BeginTrans() {
    QSqlDatabase& db = database();
    if (inTransaction_) throw rt::RunError(QStringLiteral("A transaction is already pending"));
    settleReads();
    if (tracingEvents()) traceEvent({ TraceKind::Begin, this, nullptr, {}, {}, 0 });
    if (desktopFile_ && !readOnly_) {
        // The write lock is taken at the start, within the busy timeout: a transaction that
        // read first would be refused the upgrade at once while another program writes.
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
            throw rt::RunError(driverAndDatabaseText(q.lastError()));
    } else if (onServer()) {
        runOnServer("BEGIN TRANSACTION");
    } else if (!db.transaction()) {
        throw rt::RunError(driverAndDatabaseText(db.lastError()));
    }
    inTransaction_ = true;
}

void Connection::CommitTrans() {
    QSqlDatabase& db = database();
    if (!inTransaction_) throw rt::RunError(QStringLiteral("No transaction is active"));
    requireTransactionKept();
    settleReads();
    if (tracingEvents()) traceEvent({ TraceKind::Commit, this, nullptr, {}, {}, 0 });
    // unguarded: a transaction the server already ended (a deadlock victim's) fails the commit
    if (onServer())
        runOnServer("COMMIT TRANSACTION");
    else if (!db.commit())
        throw rt::RunError(driverAndDatabaseText(db.lastError()));
    inTransaction_ = false;
    wrote();
}

void Connection::RollbackTrans() {
    QSqlDatabase& db = database();
    if (!inTransaction_) throw rt::RunError(QStringLiteral("No transaction is active"));
    inTransaction_ = false;
    const bool ended = !std::exchange(endedBy_, QString()).isEmpty();
    settleOrAbandonReads();
    if (tracingEvents()) traceEvent({ TraceKind::Rollback, this, nullptr, {}, {}, 0 });
    // A SQLite file refuses a rollback without a transaction: where the store ended it,
    // nothing of it is left to undo.
    if (onServer())
        runOnServer("IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION");
    else if (!db.rollback() && !ended)
        throw rt::RunError(driverAndDatabaseText(db.lastError()));
}

void Connection::Close() {
    if (!open_) return;
    // recordsets left open keep the rows they had, as with rows fetched at Open
    settleOrAbandonReads();
    closeDatabase();
}

void Connection::closeDatabase() {
    endedBy_.clear();
    if (inTransaction_) {
        inTransaction_ = false;
        if (onServer()) {
            // Qt's rollback is no request at all while the driver is in autocommit; this one is
            // bounded as RollbackTrans's, and its failure does not stop the close.
            try {
                runOnServer("IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION");
            } catch (const rt::RunError&) { }
        } else {
            db_.rollback();
        }
    }
    giveBackJournalMode();
    db_.close();
    // SQLite removes no side file at the close that is no regular file, and says nothing of it
    TakeSideFileRefusal();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
    open_ = false;
    sqliteBackend_ = false;
    desktopFile_ = false;
    odbc_ = false;
    walPending_ = false;
    ForgetOpen(this);
    readOnly_ = false;
    filePath_.clear();
}

} // namespace ado
