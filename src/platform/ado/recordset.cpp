// Recordset: the rows of a query, fetched as they are read, and the row writes of AddNew/Update.
#include "ado.h"
#include "internal.h"
#include "side_file_vfs.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace ado {

namespace {

Value fromVariant(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return Value();
    switch (v.typeId()) {
    case QMetaType::Bool:
        return Value(int64_t(v.toBool() ? -1 : 0));
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::UChar:
        return Value(int64_t(v.toLongLong()));
    case QMetaType::Double:
    case QMetaType::Float:
        return Value(v.toDouble());
    case QMetaType::QByteArray:
        return Value(QString::fromUtf8(v.toByteArray()));
    default:
        return Value(v.toString());
    }
}

QVariant toVariant(const Value& v) {
    const auto& r = v.raw();
    if (std::holds_alternative<rt::Null>(r)) return QVariant(QMetaType::fromType<QString>());
    if (auto p = std::get_if<int64_t>(&r)) return QVariant(qlonglong(*p));
    if (auto p = std::get_if<double>(&r)) return QVariant(*p);
    if (auto p = std::get_if<rt::Currency>(&r)) return QVariant(p->toDouble());
    // a null QString would bind as Null: an empty text stays an empty text
    const QString& text = std::get<QString>(r);
    return QVariant(text.isNull() ? QStringLiteral("") : text);
}

QString quoted(const QString& identifier) {
    return QLatin1Char('"') + identifier + QLatin1Char('"');
}

} // namespace

void Recordset::requireOpen() const {
    if (!open_)
        throw rt::RunError(QStringLiteral("Operation is not allowed when the object is closed"));
}

Recordset::~Recordset() {
    if (open_ && connection_) connection_->forget(this);
}

void Recordset::Open(const QString& statement, Connection& connection, int, int) {
    if (open_)
        throw rt::RunError(QStringLiteral("Operation is not allowed when the object is open"));
    trace(statement);
    QSqlDatabase& db = connection.database();
    connection.requireTransactionKept();
    if (connection.oneActiveResult_) connection.settleReads();
    if (tracingEvents()) traceEvent({ TraceKind::Open, &connection, this, statement, {}, 0 });
    auto q = std::make_unique<QSqlQuery>(db);
    q->setForwardOnly(true);
    if (!connection.run(*q, statement)) {
        const QString cause = databaseTextAlone(q->lastError());
        q.reset(); // its statement handle goes before the store is asked
        connection.failed(cause);
    }
    QSqlRecord rec = q->record();
    columns_.clear();
    rows_.clear();
    for (int i = 0; i < rec.count(); ++i)
        columns_ << rec.fieldName(i);
    statement_ = statement;
    connection_ = &connection;
    current_ = 0;
    adding_ = false;
    changed_.clear();
    query_ = std::move(q);
    connection.recordsets_.push_back(this);
    open_ = true;
    try {
        fetchUpTo(0); // EOF is known right after Open
    } catch (...) {
        Close();
        throw;
    }
}

void Recordset::fetchUpTo(size_t index) const {
    while (query_ && rows_.size() <= index) {
        if (connection_) connection_->requireTransactionKept();
        if (!query_->next()) {
            QSqlError e = query_->lastError();
            finishQuery();
            if (!e.isValid()) return;
            const QString cause = databaseTextAlone(e);
            if (connection_) connection_->failed(cause);
            throw rt::RunError(cause);
        }
        std::vector<Value> row;
        row.reserve(columns_.size());
        for (int i = 0; i < columns_.size(); ++i)
            row.push_back(fromVariant(query_->value(i)));
        rows_.push_back(std::move(row));
    }
}

void Recordset::finishQuery() const {
    if (!query_) return;
    query_->finish();
    query_.reset();
}

bool Recordset::Eof() const {
    requireOpen();
    if (!adding_) fetchUpTo(current_);
    return !adding_ && current_ >= rows_.size();
}

int32_t Recordset::RecordCount() const {
    requireOpen();
    fetchAll();
    if (rows_.size() > size_t(INT32_MAX)) rt::throwOverflow(QStringLiteral("RecordCount"));
    return int32_t(rows_.size());
}

int Recordset::column(const QString& name) const {
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    throw rt::RunError(
        QStringLiteral("Item cannot be found in the collection corresponding to the requested "
                       "name or ordinal: %1")
            .arg(name));
}

Value Recordset::Field(const QString& name) const {
    requireOpen();
    int c = column(name);
    if (adding_) return buffer_[c];
    fetchUpTo(current_);
    if (current_ >= rows_.size())
        throw rt::RunError(QStringLiteral("Either BOF or EOF is True, or the current record has "
                                          "been deleted"));
    return changed_.empty() || !changed_[c] ? rows_[current_][c] : buffer_[c];
}

void Recordset::MoveNext() {
    requireOpen();
    fetchUpTo(current_);
    if (adding_ || current_ >= rows_.size())
        throw rt::RunError(QStringLiteral("Either BOF or EOF is True, or the current record has "
                                          "been deleted"));
    ++current_;
    changed_.clear();
}

void Recordset::AddNew() {
    requireOpen();
    adding_ = true;
    buffer_.assign(columns_.size(), Value());
    changed_.assign(columns_.size(), false);
}

void Recordset::SetField(const QString& name, const Value& value) {
    requireOpen();
    int c = column(name);
    if (!adding_) {
        fetchUpTo(current_);
        if (current_ >= rows_.size())
            throw rt::RunError(QStringLiteral("Either BOF or EOF is True, or the current record "
                                              "has been deleted"));
        if (changed_.empty()) {
            buffer_ = rows_[current_];
            changed_.assign(columns_.size(), false);
        }
    }
    buffer_[c] = value;
    changed_[c] = true;
}

void Recordset::Update() {
    requireOpen();
    if (changed_.empty()) return;
    static const QRegularExpression from(
        QStringLiteral("\\bfrom\\s+\\[?(\\w+)\\]?"), QRegularExpression::CaseInsensitiveOption);
    const auto m = from.match(statement_);
    const QString table = m.hasMatch() ? m.captured(1) : QString();
    if (table.isEmpty())
        throw rt::RunError(QStringLiteral("The recordset cannot be updated: no base table"));
    if (!connection_)
        throw rt::RunError(QStringLiteral("Operation is not allowed when the object is closed"));
    QSqlDatabase& db = connection_->database();
    connection_->requireTransactionKept();
    // a new row goes behind the ones still to come, so those are read first
    connection_->settleReads();
    QSqlQuery q(db);
    QStringList set;
    std::vector<QVariant> binds;
    if (adding_) {
        QStringList cols, marks;
        for (int i = 0; i < columns_.size(); ++i) {
            if (!changed_[i]) continue;
            cols << quoted(columns_[i]);
            marks << QStringLiteral("?");
            binds.push_back(toVariant(buffer_[i]));
        }
        q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(quoted(table), cols.join(QStringLiteral(", ")),
                          marks.join(QStringLiteral(", "))));
    } else {
        for (int i = 0; i < columns_.size(); ++i) {
            if (!changed_[i]) continue;
            set << quoted(columns_[i]) + QStringLiteral(" = ?");
            binds.push_back(toVariant(buffer_[i]));
        }
        // The row as it was read identifies it (optimistic locking).
        QStringList match;
        const auto& original = rows_[current_];
        for (int i = 0; i < columns_.size(); ++i) {
            if (original[i].isNull()) {
                match << quoted(columns_[i]) + QStringLiteral(" IS NULL");
            } else {
                match << quoted(columns_[i]) + QStringLiteral(" = ?");
            }
        }
        QString where = match.join(QStringLiteral(" AND "));
        QString sql = connection_->isStandIn()
            ? QStringLiteral("UPDATE %1 SET %2 WHERE rowid = (SELECT rowid FROM %1 "
                             "WHERE %3 LIMIT 1)")
            : QStringLiteral("UPDATE %1 SET %2 WHERE %3");
        q.prepare(sql.arg(quoted(table), set.join(QStringLiteral(", ")), where));
        for (const auto& v : original)
            if (!v.isNull()) binds.push_back(toVariant(v));
    }
    connection_->bound(q);
    for (size_t i = 0; i < binds.size(); ++i)
        q.bindValue(int(i), binds[i]);
    if (tracingEvents())
        traceEvent({ TraceKind::RowWrite, connection_, this, q.lastQuery(), binds, 0 });
    if (!q.exec()) {
        const QString cause = databaseTextAlone(q.lastError());
        q = QSqlQuery();
        connection_->failed(cause);
    }
    const int64_t affected = rowsAffected(q);
    connection_->toldRowCount_ = affected >= 0;
    if (!adding_ && affected == 0)
        throw rt::RunError(QStringLiteral("Row cannot be located for updating"));
    q.finish();
    connection_->wrote();
    if (adding_) {
        rows_.push_back(buffer_);
        current_ = rows_.size() - 1;
        adding_ = false;
    } else {
        rows_[current_] = buffer_;
    }
    changed_.clear();
}

void Recordset::Close() {
    requireOpen();
    const int64_t stepped = int64_t(rows_.size());
    finishQuery();
    if (connection_) connection_->forget(this);
    if (tracingEvents()) traceEvent({ TraceKind::Close, connection_, this, {}, {}, stepped });
    open_ = false;
    adding_ = false;
    rows_.clear();
    columns_.clear();
    changed_.clear();
    connection_ = nullptr;
}

} // namespace ado
