// The data-access layer: Connection and Recordset with the operations the transfer uses.
// Desktop-database driver names reach a SQLite stand-in file (dbq); every other driver name
// goes through ODBC with the connection string exactly as built.
#pragma once

#include "platform/runtime/error.h"
#include "platform/runtime/value.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace ado {

using rt::Value;

// Sees every statement text that is executed or opened, in order (tests use it).
using TraceHook = std::function<void(const QString& statement)>;
void SetTraceHook(TraceHook hook);

class Connection;

// Everything the layer sends to a database, in order, with the connection it went to: the
// statements, the row writes of Update (with their values), the transaction boundaries, and at
// Close how many rows a recordset stepped through. The benchmark replays it.
enum class TraceKind { Execute, Open, Close, RowWrite, Begin, Commit, Rollback, Own };
struct TraceEvent {
    TraceKind kind;
    const Connection* connection;
    const void* recordset; // Open and Close: which recordset
    QString text;
    std::vector<QVariant> binds;
    int64_t rows = 0;
};
using EventHook = std::function<void(const TraceEvent& event)>;
void SetEventHook(EventHook hook);

// Makes every connection answer row counts as not known (-1), as a server session with NOCOUNT
// on does; tests switch it on to run against such a store.
void WithholdRowCounts(bool withhold);

// Closes every open stand-in connection at once, as the program ends: the transaction in hand is
// rolled back and recordsets are dropped without reading on, so that each file is whole by itself.
void CloseStandIns();

// key=value; attributes of a connection string, keys lower-cased, braces taken off.
std::map<QString, QString> ParseConnectionString(const QString& text);

// The two desktop-database driver names that reach a stand-in file.
bool IsDesktopDriver(const QString& driverName);

// Refuses, naming it, a side file (-journal, -wal, -shm) beside the stand-in file, as given and
// with its links resolved, that is not a regular file: SQLite would wait for good on opening a
// named pipe there, write into a device, or remove what someone put there. A link counts too,
// wherever it points. SQLite's own opens are guarded as well (side_file_vfs.h); this is the
// check before anything is changed, moved or removed.
void RequireRegularSideFiles(const QString& path);

class Recordset;

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Settings may only change while the connection is closed.
    void setConnectionString(const QString& s);
    void setCommandTimeout(int seconds);
    void setCursorLocation(int location);
    void setMode(int mode);
    const QString& connectionString() const { return connectionString_; }
    int commandTimeout() const { return commandTimeout_; }
    int cursorLocation() const { return cursorLocation_; }
    int mode() const { return mode_; }

    void Open();
    // Runs a statement that returns no rows; gives the number of rows affected, or -1 when the
    // database does not tell (a server session with NOCOUNT on).
    int64_t Execute(const QString& statement);
    // Whether the store told how many rows the last statement or row write affected.
    bool toldRowCount() const { return toldRowCount_; }
    // A statement of the layer's own on a stand-in file (planner aids): not one of the run's
    // statements, so the statement trace does not see it; the event trace marks it Own.
    void ExecuteOwn(const QString& statement);
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    int State() const { return open_ ? 1 : 0; }
    bool inTransaction() const { return inTransaction_; }
    void Close();

    // The backend is a SQLite file (directly, or through the ODBC driver that reads one).
    bool isStandIn() const { return sqliteBackend_; }
    QSqlDatabase& database();

private:
    friend class Recordset;
    friend void CloseStandIns();
    void requireClosed(const char* what) const;
    // Reads the rest of every recordset still stepping on this connection, so that the next
    // statement runs alone: on SQLite an autocommit write would otherwise wait for the reader
    // to finish before it commits, and an ODBC server may allow one active result only.
    void settleReads();
    void settleOrAbandonReads(); // on the way out: a read that fails is dropped
    void abandonReads();
    void forget(const Recordset* rs);
    // desktop_file.cpp: the stand-in file's open, its journal modes
    void openDesktopFile(const std::map<QString, QString>& attrs);
    // A stand-in file is switched to WAL once a first write to it has succeeded, so a file the
    // run cannot use is left as it was; at the close it goes back to the mode it was found in.
    void wrote();
    void giveBackJournalMode();
    void ownPragma(const QString& pragma, QString* answer = nullptr);
    void closeDatabase(); // once the reads are settled or abandoned
    // Runs a statement on q; through ODBC its statement handle gets the command timeout first.
    bool run(QSqlQuery& q, const QString& statement);
    // odbc_road.cpp: the open through the driver manager and the server's own statements
    void openOdbc();
    // Gives the statement prepared on q the command timeout (ODBC only).
    void bound(QSqlQuery& q);
    // A SQL server, not the SQLite file behind the ODBC driver.
    bool onServer() const { return odbc_ && !sqliteBackend_; }
    // A transaction's begin, commit or rollback on a SQL server, sent directly as a statement
    // of the layer's own with the command timeout: the driver's own requests for them wait
    // without any bound. The statement trace does not see it.
    void runOnServer(const char* statement);
    // A statement failed inside the transaction: asks the store whether it still holds the
    // transaction (a server ends a deadlock victim's, SQLite its own on some errors), then
    // throws the failure. Where the store ended it, every later statement, row write and the
    // commit fail with that cause until the rollback: nothing of it runs outside it.
    [[noreturn]] void failed(const QString& cause);
    void requireTransactionKept() const;
    // odbc_road.cpp: asked only after a failure, never in the statement trace
    bool storeHoldsTransaction();

    QString name_;
    QString connectionString_;
    int commandTimeout_ = 30;
    int cursorLocation_ = 2;
    int mode_ = 0;
    bool open_ = false;
    bool inTransaction_ = false;
    bool toldRowCount_ = false;
    QString endedBy_; // the failure at which the store ended the transaction in hand
    bool sqliteBackend_ = false;
    bool desktopFile_ = false; // a stand-in file opened directly, not through ODBC
    bool readOnly_ = false;
    bool walPending_ = false;
    QString foundJournalMode_; // set while this connection has the file in WAL mode for its writes
    QString filePath_; // of the desktop file, canonical
    bool oneActiveResult_ = false;
    bool odbc_ = false; // opened through the ODBC driver manager
    QSqlDatabase db_;
    std::vector<Recordset*> recordsets_; // open on this connection
};

class Recordset {
public:
    Recordset() = default;
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Keyset cursor, optimistic locking. Rows are fetched as they are read; RecordCount reads
    // the rest at once, so it stays exact.
    void Open(
        const QString& statement, Connection& connection, int cursorType = 1, int lockType = 3);
    bool isOpen() const { return open_; }
    bool Eof() const; // end of file: no current row
    int32_t RecordCount() const;
    // Field of the current row by name (case-insensitive); may be Null.
    Value Field(const QString& name) const;
    void MoveNext();
    void AddNew();
    void SetField(const QString& name, const Value& value);
    // Writes the current row (or the new one) on the recordset's connection.
    void Update();
    void Close();

private:
    friend class Connection;
    int column(const QString& name) const;
    void requireOpen() const;
    // Fetches until row index is buffered or the query has no more rows.
    void fetchUpTo(size_t index) const;
    void fetchAll() const { fetchUpTo(SIZE_MAX); }
    void finishQuery() const;

    bool open_ = false;
    Connection* connection_ = nullptr;
    QString statement_;
    QStringList columns_;
    mutable std::unique_ptr<QSqlQuery> query_; // set while rows are left to fetch
    mutable std::vector<std::vector<Value>> rows_;
    size_t current_ = 0;
    bool adding_ = false;
    std::vector<Value> buffer_;
    std::vector<bool> changed_;
};

} // namespace ado
