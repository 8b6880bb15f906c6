// The data-access layer: Connection and Recordset with the operations the transfer uses.
// Desktop-database driver names reach a SQLite stand-in file (dbq); every other driver name
// goes through ODBC with the connection string exactly as built.
#pragma once

#include "platform/runtime/error.h"
#include "platform/runtime/value.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <vector>

namespace ado {

using rt::Value;

// Sees every statement text that is executed or opened, in order (tests use it).
using TraceHook = std::function<void(const QString& statement)>;
void SetTraceHook(TraceHook hook);

// key=value; attributes of a connection string, keys lower-cased, braces taken off.
std::map<QString, QString> ParseConnectionString(const QString& text);

// The two desktop-database driver names that reach a stand-in file.
bool IsDesktopDriver(const QString& driverName);

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
    // Runs a statement that returns no rows; gives the number of rows affected.
    int64_t Execute(const QString& statement);
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
    void requireClosed(const char* what) const;
    void openDesktopFile(const std::map<QString, QString>& attrs);
    void openOdbc();

    QString name_;
    QString connectionString_;
    int commandTimeout_ = 30;
    int cursorLocation_ = 2;
    int mode_ = 0;
    bool open_ = false;
    bool inTransaction_ = false;
    bool sqliteBackend_ = false;
    QSqlDatabase db_;
};

class Recordset {
public:
    // Keyset cursor, optimistic locking: rows are fetched at Open, so RecordCount is exact.
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
    int column(const QString& name) const;
    void requireOpen() const;

    bool open_ = false;
    Connection* connection_ = nullptr;
    QString table_;
    QStringList columns_;
    std::vector<std::vector<Value>> rows_;
    size_t current_ = 0;
    bool adding_ = false;
    std::vector<Value> buffer_;
    std::vector<bool> changed_;
};

// Adds the stand-in's refusal of texts longer than their declared column (Text(n),
// nvarchar(n), varchar(n)) to one table of a stand-in file.
void InstallLengthChecks(QSqlDatabase& db, const QString& table);

} // namespace ado
