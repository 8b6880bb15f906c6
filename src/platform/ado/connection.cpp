// Connection: opens a stand-in file or an ODBC data source and runs statements and
// transactions on it.
#include "ado.h"
#include "rows_affected.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <QUuid>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sql.h>
#include <sqlext.h>
#include <sys/stat.h>
#include <unistd.h>

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

QString errorText(const QSqlError& e) {
    QString db = e.databaseText().trimmed();
    QString drv = e.driverText().trimmed();
    if (db.isEmpty()) return drv.isEmpty() ? QStringLiteral("Database error") : drv;
    return drv.isEmpty() ? db : drv + QStringLiteral(": ") + db;
}

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

// A Create Table statement; the table's name is its first capture.
const QRegularExpression& createTable() {
    static const QRegularExpression re(QStringLiteral("^\\s*create\\s+table\\s+\\[?(\\w+)\\]?"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

// The desktop database and a SQL server's default collation compare texts without case; SQLite
// compares a column declared Text(n) or nvarchar(n) exactly. A table created on a stand-in gets
// such columns (those without a collation of their own) compared as the store would.
QString comparedAsTheStore(const QString& statement) {
    static const QRegularExpression textColumn(
        QStringLiteral("\\b((?:text|n?varchar|n?char)\\s*\\(\\s*\\d+\\s*\\))(?!\\s*collate\\b)"),
        QRegularExpression::CaseInsensitiveOption);
    if (!createTable().match(statement).hasMatch()) return statement;
    QString sent = statement;
    sent.replace(textColumn, QStringLiteral("\\1 COLLATE NOCASE"));
    return sent;
}

// The versions FreeTDS takes by name ("auto" and "0" leave the choice to it, so they name none).
bool namesTdsVersion(const QByteArray& v) {
    static const char* const names[]
        = { "4.2", "50", "5.0", "70", "7.0", "7.1", "7.2", "7.3", "7.4", "8.0" };
    for (const char* name : names)
        if (v == name) return true;
    return false;
}

// The tds version one freetds.conf gives the server: its own section's, else [global]'s. Lines
// read as FreeTDS reads them: blanks collapsed, names in lower case, a value ending at ';' or '#'.
QByteArray versionInConfFile(const QString& path, const QByteArray& server) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QByteArray section, global, own;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.isEmpty() || line[0] == ';' || line[0] == '#') continue;
        const qsizetype eq = line.indexOf('=');
        const QByteArray name = (eq < 0 ? line : line.left(eq)).simplified().toLower();
        if (name.startsWith('[')) {
            section = name.mid(1, name.indexOf(']') - 1);
            continue;
        }
        if (eq < 0 || name != "tds version") continue;
        QByteArray value = line.mid(eq + 1);
        for (char stop : { ';', '#' })
            if (qsizetype at = value.indexOf(stop); at >= 0) value.truncate(at);
        value = value.simplified();
        if (section == "global")
            global = value;
        else if (section == server)
            own = value;
    }
    return own.isEmpty() ? global : own;
}

// A tds version in the freetds.conf files FreeTDS looks at, in its order. Its ODBC driver reads
// them only for a server named there, never for server= as the store's string gives it.
QByteArray versionInFreeTdsConf(const QString& server) {
    QStringList files;
    if (qEnvironmentVariableIsSet("FREETDSCONF")) files << qEnvironmentVariable("FREETDSCONF");
    if (qEnvironmentVariableIsSet("FREETDS"))
        files << qEnvironmentVariable("FREETDS") + QStringLiteral("/etc/freetds.conf");
    files << QDir::homePath() + QStringLiteral("/.config/freetds.conf")
          << QDir::homePath() + QStringLiteral("/.freetds.conf")
          << QStringLiteral("/etc/freetds/freetds.conf");
    // the section is the host, without port or instance
    QString host = server;
    if (qsizetype cut = host.indexOf(QRegularExpression(QStringLiteral("[,\\\\]"))); cut >= 0)
        host.truncate(cut);
    const QByteArray section = host.toUtf8().toLower();
    for (const QString& file : files) {
        const QByteArray version = versionInConfFile(file, section);
        if (namesTdsVersion(version)) return version;
    }
    return {};
}

// FreeTDS left to choose the protocol tries a second one once the first has timed out, and that
// one waits without any bound; with the version it tries first fixed, the login ends within its
// timeout. A version the user set stands: in TDSVER, in the connection string (which TDSVER
// would override), or in freetds.conf (which the driver would not read). The settings are read
// again at every open, so what this layer put in TDSVER is its own to change.
void settleTdsVersion(const QString& connectionString) {
    static std::optional<QByteArray> ours;
    if (qEnvironmentVariableIsSet("TDSVER") && (!ours || qgetenv("TDSVER") != *ours)) return;
    const auto attrs = ParseConnectionString(connectionString);
    const auto given = attrs.find(QStringLiteral("tds_version"));
    QByteArray version;
    if (given == attrs.end() || !namesTdsVersion(given->second.toUtf8())) {
        const auto server = attrs.find(QStringLiteral("server"));
        version = versionInFreeTdsConf(server == attrs.end() ? QString() : server->second);
        if (version.isEmpty()) version = "7.4";
    }
    if (version.isEmpty())
        qunsetenv("TDSVER");
    else
        qputenv("TDSVER", version);
    ours = version;
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

// A stand-in file begins with the SQLite header. One that cannot be read is left to the open,
// which reports it.
bool looksLikeStandIn(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return true;
    static const QByteArray header("SQLite format 3", 16); // with its closing NUL
    return file.read(header.size()) == header;
}

// The open connections and their desktop files: the close on the way out takes them all, and a
// file goes back to its own journal mode when the last of them on it closes.
struct OpenConnection {
    Connection* connection;
    QString file;
};
std::vector<OpenConnection>& openConnections() {
    static std::vector<OpenConnection> open;
    return open;
}
Connection* otherConnectionOn(const QString& file, const Connection* self) {
    for (const OpenConnection& c : openConnections())
        if (c.connection != self && !file.isEmpty() && c.file == file) return c.connection;
    return nullptr;
}

QByteArray sideFile(const QString& path, const char* tail) {
    return QFile::encodeName(path + QLatin1String(tail));
}

// The file's header says it is in WAL mode (format bytes 18 and 19 are 2).
bool headerSaysWal(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray header = file.read(20);
    return header.size() == 20 && header[18] == 2;
}

bool mayWrite(const QByteArray& path) {
    return faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) == 0;
}

// Side files another user left (his, and not ours to write) keep SQLite from writing through
// them. They go as SQLite itself removes side files: under the exclusive lock on the database
// file, which any other connection's shared lock refuses, and only while the -wal holds nothing.
// A connection in exclusive locking mode takes that lock at its first read of a WAL-mode file
// and keeps its index in its own memory, so it never touches the -shm.
void removeForeignSideFiles(const QString& path, int timeoutMs) {
    const QByteArray wal = sideFile(path, "-wal");
    const QByteArray shm = sideFile(path, "-shm");
    const auto foreign = [](const QByteArray& side) {
        return access(side.constData(), F_OK) == 0 && !mayWrite(side);
    };
    if (!foreign(wal) && !foreign(shm)) return;
    const QString name = QStringLiteral("kordane-sidefiles-") + QUuid::createUuid().toString();
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(timeoutMs));
        const QString left = QFile::decodeName(foreign(wal) ? wal : shm);
        if (!db.open()) {
            failure = QStringLiteral("The file '%1' was left by another user: %2")
                          .arg(left, errorText(db.lastError()));
        } else {
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("PRAGMA main.locking_mode=EXCLUSIVE"))
                || !q.exec(QStringLiteral("SELECT count(*) FROM main.sqlite_master"))) {
                failure = QStringLiteral("The file '%1' was left by another user and is in use: %2")
                              .arg(left, errorText(q.lastError()));
            } else {
                struct stat st;
                if (stat(wal.constData(), &st) == 0 && st.st_size > 0) {
                    failure = QStringLiteral("The file '%1' was left by another user and holds "
                                             "changes that this user may not write")
                                  .arg(QFile::decodeName(wal));
                } else {
                    for (const QByteArray& side : { wal, shm }) {
                        if (unlink(side.constData()) == 0 || errno == ENOENT) continue;
                        failure = QStringLiteral("The file '%1' was left by another user and "
                                                 "cannot be removed: %2")
                                      .arg(QFile::decodeName(side),
                                          QString::fromLocal8Bit(strerror(errno)));
                        break;
                    }
                }
            }
            q.finish();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!failure.isEmpty()) throw rt::RunError(failure);
}

// Why a file this user may only read cannot be read: a WAL-mode file needs its -shm, which
// SQLite makes beside it.
QString whyUnreadable(const QString& path, const QString& message) {
    const QFileInfo info(path);
    if ((headerSaysWal(path) || QFileInfo::exists(path + QStringLiteral("-wal")))
        && !QFileInfo::exists(path + QStringLiteral("-shm"))
        && !mayWrite(QFile::encodeName(info.absolutePath())))
        return QStringLiteral("The file '%1' is in WAL mode: reading it needs its side files "
                              "beside it, and this user may not write the folder '%2'")
            .arg(path, info.absolutePath());
    return message;
}

} // namespace

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
    openConnections().push_back({ this, filePath_ });
}

void Connection::openDesktopFile(const std::map<QString, QString>& attrs) {
    auto get = [&](const char* k) {
        auto it = attrs.find(QLatin1String(k));
        return it == attrs.end() ? QString() : it->second;
    };
    QString path = get("dbq");
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.isEmpty() || !QFileInfo(path).isFile())
        throw rt::RunError(QStringLiteral("Could not find file '%1'.").arg(get("dbq")));
    // SQLite would take an empty file for an empty database and write one into it
    if (!looksLikeStandIn(path))
        throw rt::RunError(QStringLiteral("Unrecognized database format '%1'.").arg(get("dbq")));
    // A file we may not write is read as SQLite reads any file, at a committed state; a hot
    // journal that could not be rolled back makes the read fail.
    const bool readOnly = mode_ == 1 || !mayWrite(QFile::encodeName(path));
    const int timeoutMs = qMax(0, commandTimeout_) * 1000;
    if (!readOnly) removeForeignSideFiles(path, timeoutMs);
    readOnly_ = readOnly;
    filePath_ = QFileInfo(path).canonicalFilePath();
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(timeoutMs);
    if (readOnly_) options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db_.setDatabaseName(path);
    db_.setConnectOptions(options);
    auto fail = [&](const QString& message) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
        readOnly_ = false;
        filePath_.clear();
        throw rt::RunError(message);
    };
    if (!db_.open()) fail(errorText(db_.lastError()));
    {
        QSqlQuery q(db_);
        if (!q.exec(QStringLiteral("SELECT count(*) FROM main.sqlite_master"))) {
            const QString message = errorText(q.lastError());
            q = QSqlQuery();
            fail(readOnly_ ? whyUnreadable(path, message) : message);
        }
        q.finish();
        // The stand-in password: a protected file records its own; any other is refused.
        if (q.exec(QStringLiteral("SELECT Pwd FROM StandInPassword")) && q.next()) {
            if (q.value(0).toString() != get("pwd")) {
                q.finish();
                q = QSqlQuery();
                fail(QStringLiteral("Not a valid password."));
            }
        }
        q.finish();
    }
    walPending_ = !readOnly_;
    desktopFile_ = true;
    sqliteBackend_ = true;
}

void Connection::openOdbc() {
    settleTdsVersion(connectionString_);
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
    if (!db_.open()) {
        QString message = errorText(db_.lastError());
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
        throw rt::RunError(message);
    }
    sqliteBackend_ = odbcDbmsName(db_).contains(QStringLiteral("SQLite"), Qt::CaseInsensitive);
    odbc_ = true;
}

void Connection::bound(QSqlQuery& q) {
    if (!odbc_ || !q.result()) return;
    // per statement: a driver may refuse the timeout as a default of the connection (FreeTDS)
    if (SQLHANDLE h = odbcHandle(q.result()->handle()))
        SQLSetStmtAttr(h, SQL_ATTR_QUERY_TIMEOUT,
            reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(qMax(0, commandTimeout_))), 0);
}

void Connection::runOnServer(const char* statement) {
    SQLHANDLE dbc = odbcHandle(db_.driver()->handle());
    SQLHANDLE h = nullptr;
    if (!dbc || !SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &h)))
        throw rt::RunError(
            dbc ? odbcDiagnostics(SQL_HANDLE_DBC, dbc) : QStringLiteral("Database error"));
    SQLSetStmtAttr(h, SQL_ATTR_QUERY_TIMEOUT,
        reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(qMax(0, commandTimeout_))), 0);
    SQLRETURN r
        = SQLExecDirect(h, reinterpret_cast<SQLCHAR*>(const_cast<char*>(statement)), SQL_NTS);
    while (SQL_SUCCEEDED(r))
        r = SQLMoreResults(h);
    const QString message = r == SQL_NO_DATA ? QString() : odbcDiagnostics(SQL_HANDLE_STMT, h);
    SQLFreeHandle(SQL_HANDLE_STMT, h);
    if (!message.isNull()) throw rt::RunError(message);
}

bool Connection::run(QSqlQuery& q, const QString& statement) {
    if (!odbc_) return q.exec(statement);
    // A text that does not prepare as it stands (or that Qt would read as having named
    // placeholders) runs directly, as it always did.
    if (!q.prepare(statement) || q.executedQuery() != statement) return q.exec(statement);
    bound(q);
    return q.exec();
}

int64_t Connection::Execute(const QString& statement) {
    trace(statement);
    QSqlDatabase& db = database();
    settleReads();
    const QString sent = sqliteBackend_ ? comparedAsTheStore(statement) : statement;
    if (tracingEvents()) traceEvent({ TraceKind::Execute, this, nullptr, sent, {}, 0 });
    QSqlQuery q(db);
    if (!run(q, sent)) throw rt::RunError(errorText(q.lastError()));
    const int64_t affected = rowsAffected(q);
    q.finish();
    wrote();
    if (sqliteBackend_) {
        const auto m = createTable().match(statement);
        if (m.hasMatch()) InstallLengthChecks(db, m.captured(1));
    }
    return affected;
}

void Connection::ExecuteOwn(const QString& statement) {
    QSqlDatabase& db = database();
    settleReads();
    if (tracingEvents()) traceEvent({ TraceKind::Own, this, nullptr, statement, {}, 0 });
    QSqlQuery q(db);
    if (!run(q, statement)) throw rt::RunError(errorText(q.lastError()));
    q.finish();
    wrote();
}

void Connection::ownPragma(const QString& pragma, QString* answer) {
    if (tracingEvents()) traceEvent({ TraceKind::Own, this, nullptr, pragma, {}, 0 });
    QSqlQuery q(db_);
    if (q.exec(pragma) && q.next() && answer) *answer = q.value(0).toString().toLower();
}

void Connection::wrote() {
    if (!walPending_ || inTransaction_) return;
    walPending_ = false;
    // WAL with synchronous=NORMAL: statements run one by one stay fast and survive a crash.
    // The file goes back to the mode it was found in when the connection closes.
    QString found, now;
    ownPragma(QStringLiteral("PRAGMA main.journal_mode"), &found);
    if (found != QLatin1String("wal")) {
        ownPragma(QStringLiteral("PRAGMA main.journal_mode=WAL"), &now);
        if (now == QLatin1String("wal")) foundJournalMode_ = found;
    }
    ownPragma(QStringLiteral("PRAGMA main.synchronous=NORMAL"));
}

void Connection::giveBackJournalMode() {
    if (foundJournalMode_.isEmpty()) return;
    const QString mode = std::exchange(foundJournalMode_, QString());
    // The last of this process's connections on the file gives it back.
    if (Connection* other = otherConnectionOn(filePath_, this)) {
        if (other->foundJournalMode_.isEmpty()) other->foundJournalMode_ = mode;
        return;
    }
    // Without waiting: while another program holds the file it stays in WAL mode.
    ownPragma(QStringLiteral("PRAGMA busy_timeout=0"));
    ownPragma(QStringLiteral("PRAGMA main.journal_mode=") + mode.toUpper());
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
            throw rt::RunError(errorText(q.lastError()));
    } else if (onServer()) {
        runOnServer("BEGIN TRANSACTION");
    } else if (!db.transaction()) {
        throw rt::RunError(errorText(db.lastError()));
    }
    inTransaction_ = true;
}

void Connection::CommitTrans() {
    QSqlDatabase& db = database();
    if (!inTransaction_) throw rt::RunError(QStringLiteral("No transaction is active"));
    settleReads();
    if (tracingEvents()) traceEvent({ TraceKind::Commit, this, nullptr, {}, {}, 0 });
    if (onServer())
        runOnServer("IF @@TRANCOUNT > 0 COMMIT TRANSACTION");
    else if (!db.commit())
        throw rt::RunError(errorText(db.lastError()));
    inTransaction_ = false;
    wrote();
}

void Connection::RollbackTrans() {
    QSqlDatabase& db = database();
    if (!inTransaction_) throw rt::RunError(QStringLiteral("No transaction is active"));
    inTransaction_ = false;
    settleOrAbandonReads();
    if (tracingEvents()) traceEvent({ TraceKind::Rollback, this, nullptr, {}, {}, 0 });
    if (onServer())
        runOnServer("IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION");
    else if (!db.rollback())
        throw rt::RunError(errorText(db.lastError()));
}

void Connection::Close() {
    if (!open_) return;
    // recordsets left open keep the rows they had, as with rows fetched at Open
    settleOrAbandonReads();
    closeDatabase();
}

void Connection::closeDatabase() {
    if (inTransaction_) {
        db_.rollback();
        inTransaction_ = false;
    }
    giveBackJournalMode();
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
    open_ = false;
    sqliteBackend_ = false;
    desktopFile_ = false;
    odbc_ = false;
    walPending_ = false;
    std::erase_if(
        openConnections(), [this](const OpenConnection& c) { return c.connection == this; });
    readOnly_ = false;
    filePath_.clear();
}

void CloseStandIns() {
    const std::vector<OpenConnection> open = openConnections();
    for (const OpenConnection& c : open) {
        if (!c.connection->isStandIn()) continue;
        c.connection->abandonReads();
        c.connection->closeDatabase();
    }
}

void InstallLengthChecks(QSqlDatabase& db, const QString& table) {
    static const QRegularExpression declared(
        QStringLiteral("^\\s*(?:text|n?varchar|n?char)\\s*\\(\\s*(\\d+)\\s*\\)"),
        QRegularExpression::CaseInsensitiveOption);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table)))
        throw rt::RunError(errorText(q.lastError()));
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
            throw rt::RunError(errorText(q.lastError()));
        if (checks.isEmpty()) continue;
        QString sql = QStringLiteral("CREATE TRIGGER \"%1\" BEFORE %2 ON \"%3\" BEGIN %4 END")
                          .arg(name, QLatin1String(when), table, checks.join(QLatin1Char(' ')));
        if (!q.exec(sql)) throw rt::RunError(errorText(q.lastError()));
    }
}

} // namespace ado
