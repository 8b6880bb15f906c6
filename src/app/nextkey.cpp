// Key allocation from the store's counter table LastID: by recordset on an Access store, by
// statements on SQL Server. Both run inside whatever transaction the caller holds.
#include "members.h"

#include "platform/runtime/text.h"

namespace {

void lookUpCounter(frmKordane& f, const QString& nameId) {
    f.Open(f.rsLookup, f.cnStore(),
        QStringLiteral("Select ") + QStringLiteral("NameID, LastID ") + QStringLiteral("From ")
            + QStringLiteral("LastID ") + QStringLiteral("Where NameID = '") + rt::Quote(nameId)
            + QStringLiteral("'"));
}

// A failed allocation gives 0 and leaves rsLookup closed; the caller skips its insert.
void dropLookup(frmKordane& f) {
    try {
        frmKordane::CloseIfOpen(f.rsLookup);
    } catch (...) { }
}

// The counter's next value; a key past the 32-bit range is never written.
int32_t nextValue(const rt::Value& last) {
    const int64_t next = int64_t(last.toInt32()) + 1;
    if (next > INT32_MAX) rt::throwOverflow(QStringLiteral("LastID"));
    return int32_t(next);
}

} // namespace

int32_t NextKey(frmKordane& f, const QString& nameId) {
    return f.w.optAccess() ? NextKeyAccess(f, nameId) : NextKeySql(f, nameId);
}

int32_t NextKeySql(frmKordane& f, const QString& nameId) {
    try {
        lookUpCounter(f, nameId);
        if (f.rsLookup.Eof()) {
            f.rsLookup.Close();
            f.Execute(f.cnStore(),
                QStringLiteral("Insert Into LastID Values( '") + rt::Quote(nameId)
                    + QStringLiteral("', 1 )"));
            return 1;
        }
        const rt::Value last = f.rsLookup.Field(QStringLiteral("LastID"));
        f.rsLookup.Close();
        // An empty counter builds an update without a value, which the store refuses.
        int32_t next = 0;
        QString nextText;
        if (!last.isNull()) {
            next = nextValue(last);
            nextText = QString::number(next);
        }
        f.Execute(f.cnStore(),
            QStringLiteral("Update LastID Set LastID = ") + nextText
                + QStringLiteral(" Where NameID = '") + rt::Quote(nameId) + QStringLiteral("'"));
        if (last.isNull())
            throw rt::RunError(QStringLiteral("LastID of ") + nameId + QStringLiteral(" is empty"));
        return next;
    } catch (const std::exception&) {
        dropLookup(f);
        return 0;
    }
}

int32_t NextKeyAccess(frmKordane& f, const QString& nameId) {
    try {
        lookUpCounter(f, nameId);
        if (f.rsLookup.Eof()) {
            f.rsLookup.AddNew();
            f.rsLookup.SetField(QStringLiteral("NameID"), nameId);
            f.rsLookup.SetField(QStringLiteral("LastID"), 1);
            f.rsLookup.Update();
            f.rsLookup.Close();
            return 1;
        }
        // An empty counter is written back unchanged before its conversion fails.
        const rt::Value last = f.rsLookup.Field(QStringLiteral("LastID"));
        const rt::Value next = last.isNull() ? rt::Value() : rt::Value(nextValue(last));
        f.rsLookup.SetField(QStringLiteral("LastID"), next);
        f.rsLookup.Update();
        f.rsLookup.Close();
        return next.toInt32();
    } catch (const std::exception&) {
        dropLookup(f);
        return 0;
    }
}
