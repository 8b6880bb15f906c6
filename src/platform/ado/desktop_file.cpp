// The desktop file's care: what a stand-in file and the side files beside it must be before it
// is opened, side files another user left, and the journal mode a file is written in and given
// back in.
#include "desktop_file.h"

#include "ado.h"
#include "internal.h"
#include "open_connections.h"
#include "side_file_vfs.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QUuid>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ado {

namespace {

// A stand-in file begins with the SQLite header. One that cannot be read is left to the open,
// which reports it.
bool looksLikeStandIn(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return true;
    static const QByteArray header("SQLite format 3", 16); // with its closing NUL
    return file.read(header.size()) == header;
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
                          .arg(left, driverAndDatabaseText(db.lastError()));
        } else {
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("PRAGMA main.locking_mode=EXCLUSIVE"))
                || !q.exec(QStringLiteral("SELECT count(*) FROM main.sqlite_master"))) {
                failure = QStringLiteral("The file '%1' was left by another user and is in use: %2")
                              .arg(left, driverAndDatabaseText(q.lastError()));
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

void RequireRegularSideFiles(const QString& path) {
    // SQLite names the side files after the path with its links resolved
    QStringList paths { path };
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (!canonical.isEmpty() && canonical != path) paths << canonical;
    for (const QString& p : paths)
        for (const char* tail : { "-journal", "-wal", "-shm" }) {
            struct stat st;
            if (lstat(sideFile(p, tail).constData(), &st) != 0 || S_ISREG(st.st_mode)) continue;
            throw rt::RunError(NotARegularSideFile(p + QLatin1String(tail), st.st_mode));
        }
}

bool SqliteHoldsTransaction(QSqlDatabase& db) {
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return false;
    sqlite3* h = *static_cast<sqlite3* const*>(handle.constData());
    return h && !sqlite3_get_autocommit(h);
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
    // SQLite names the side files after the path with its links resolved, and the guard refuses
    // one that is no regular file wherever SQLite comes to it. This check still ends the open
    // before side files another user left go, and before a first write, after which SQLite first
    // opens the -shm.
    GuardSideFiles();
    const QString canonical = QFileInfo(path).canonicalFilePath();
    RequireRegularSideFiles(canonical);
    // A file we may not write is read as SQLite reads any file, at a committed state; a hot
    // journal that could not be rolled back makes the read fail.
    const bool readOnly = mode_ == 1 || !mayWrite(QFile::encodeName(path));
    const int timeoutMs = qMax(0, commandTimeout_) * 1000;
    if (!readOnly) removeForeignSideFiles(canonical, timeoutMs);
    readOnly_ = readOnly;
    filePath_ = canonical;
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
    if (!db_.open()) fail(driverAndDatabaseText(db_.lastError()));
    {
        QSqlQuery q(db_);
        if (!q.exec(QStringLiteral("SELECT count(*) FROM main.sqlite_master"))) {
            // a side file refused is the cause, whatever else the file is
            const QString refused = SideFileRefusalBehind(q.lastError());
            const QString message
                = refused.isEmpty() ? driverAndDatabaseText(q.lastError()) : refused;
            q = QSqlQuery();
            fail(readOnly_ && refused.isEmpty() ? whyUnreadable(path, message) : message);
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

void Connection::ownPragma(const QString& pragma, QString* answer) {
    if (tracingEvents()) traceEvent({ TraceKind::Own, this, nullptr, pragma, {}, 0 });
    QSqlQuery q(db_);
    if (q.exec(pragma) && q.next() && answer) *answer = q.value(0).toString().toLower();
    // its failure is no statement's: the next statement meets a refused side file again
    TakeSideFileRefusal();
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
    if (Connection* other = OtherConnectionOn(filePath_, this)) {
        if (other->foundJournalMode_.isEmpty()) other->foundJournalMode_ = mode;
        return;
    }
    // Without waiting: while another program holds the file it stays in WAL mode.
    ownPragma(QStringLiteral("PRAGMA busy_timeout=0"));
    ownPragma(QStringLiteral("PRAGMA main.journal_mode=") + mode.toUpper());
}

void CloseStandIns() {
    for (Connection* c : OpenConnections()) {
        if (!c->isStandIn()) continue;
        c->abandonReads();
        c->closeDatabase();
    }
}

} // namespace ado
