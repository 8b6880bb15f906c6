// The drain loop shared by the classic and the Pta_ insertion members.
#include "drain.h"

#include "app/members.h"
#include "platform/runtime/error.h"
#include "platform/runtime/text.h"

#include <limits>
#include <optional>
#include <vector>

namespace insert {

namespace {

QString notRemoved(const QueuedPart& p) {
    return QStringLiteral("The staged part %1 could not be removed from PriceList")
        .arg(p.kind.isEmpty() ? p.partNo : p.kind + QLatin1Char('-') + p.partNo);
}

// The staged rows the dequeue of p removes. The store alone decides which rows those are (its
// collation may ignore letter case, or only that of some letters), so the part's rows are asked
// of it with the same condition.
QString removalCondition(const frmKordane& f, const QueuedPart& p) {
    QString where = QStringLiteral("Where BrandID = ") + QString::number(f.mBrandID);
    if (!p.kind.isEmpty())
        where += QStringLiteral(" And Kind = '") + rt::Quote(p.kind) + QLatin1Char('\'');
    where += QStringLiteral(" And PartNO = '") + rt::Quote(p.partNo) + QLatin1Char('\'');
    return where;
}

// Two values of one staged row, as the store holds them: a server may type a result's column by
// the values in it, so one price comes as a whole number in one result and as a decimal in
// another.
bool sameAsStored(const rt::Value& a, const rt::Value& b) {
    if (!a.isNumber() || !b.isNumber()) return a == b;
    const auto* x = std::get_if<int64_t>(&a.raw());
    const auto* y = std::get_if<int64_t>(&b.raw());
    if (x && y) return *x == *y;
    if (std::holds_alternative<rt::Currency>(a.raw())
        || std::holds_alternative<rt::Currency>(b.raw())) {
        try {
            return a.toCurrency() == b.toCurrency();
        } catch (const rt::RunError&) {
            return false; // beyond a currency's range: not a currency the store holds
        }
    }
    const auto amount = [](const rt::Value& v) {
        const auto* i = std::get_if<int64_t>(&v.raw());
        return i ? static_cast<long double>(*i) : static_cast<long double>(v.toDouble());
    };
    return amount(a) == amount(b);
}

struct Head {
    QueuedPart part;
    bool removable = false; // its own removal selects the head row
};

// The head of the queue with the other staged rows its dequeue removes; none when the queue is
// empty.
std::optional<Head> nextPart(frmKordane& f, const std::function<QueuedPart()>& take) {
    if (f.OpenStagedParts() == 0) return std::nullopt;
    Head h;
    std::vector<rt::Value> head;
    try {
        h.part = take();
        for (const QString& column : frmKordane::StagedColumns())
            head.push_back(f.rsList.Field(column));
    } catch (...) {
        f.rsList.Close();
        throw;
    }
    f.rsList.Close();
    f.OpenStagedRows(removalCondition(f, h.part));
    try {
        for (; !f.rsList.Eof(); f.rsList.MoveNext()) {
            // a row equal in every column is interchangeable with the head: one such is the head
            bool same = !h.removable;
            for (size_t c = 0; same && c < head.size(); ++c)
                same = sameAsStored(
                    f.rsList.Field(frmKordane::StagedColumns()[qsizetype(c)]), head[c]);
            if (same)
                h.removable = true;
            else
                h.part.gather();
        }
    } catch (...) {
        f.rsList.Close();
        throw;
    }
    f.rsList.Close();
    return h;
}

// Removes the part's staged rows; a row of them left would come back as a head on every turn.
// A store that tells no row counts is asked, inside the part's transaction, what the removal
// finds before it and what it leaves after it: a row changed since it was read is found by
// neither.
void dequeue(frmKordane& f, const Head& h) {
    const QString where = removalCondition(f, h.part);
    ado::Connection& cn = f.cnStore();
    if (!cn.toldRowCount() && f.CountStagedParts(where) == 0)
        throw rt::RunError(notRemoved(h.part));
    const int64_t removed = f.Execute(cn, QStringLiteral("Delete From PriceList ") + where);
    if (removed == 0 || (removed < 0 && f.CountStagedParts(where) > 0))
        throw rt::RunError(notRemoved(h.part));
}

} // namespace

void DrainQueue(frmKordane& f, int16_t n, const std::function<QueuedPart()>& take,
    const std::function<void()>& connected) {
    f.ReopenStore();
    if (connected) connected();
    const int32_t total = f.CountStagedParts();
    int32_t taken = 0;
    const QString tag = QStringLiteral("_") + QString::number(n);
    for (std::optional<Head> next = nextPart(f, take); next; next = nextPart(f, take)) {
        const QueuedPart& p = next->part;

        f.w.doEvents();
        if (taken == std::numeric_limits<int32_t>::max())
            rt::throwOverflow(QStringLiteral("staged part counter"));
        ++taken;
        f.w.setText(win::Box::txtQTY,
            RowProgressText(QStringLiteral("กำลังเพิ่มข้อมูลใหม่  "), f.mBrandName, tag, total, taken));
        f.w.setText(win::Box::txtPartNO, p.partText);
        // its dequeue would leave it queued: nothing of it is written
        if (!next->removable) throw rt::RunError(notRemoved(p));

        f.cnStore().BeginTrans();
        p.write();
        dequeue(f, *next);
        f.cnStore().CommitTrans();
    }
}

void GroupReplacements(frmKordane& f, int32_t partKey, SlotKeys& rowKeys, const QString& loneRow) {
    bool grouped = false;
    for (auto& alt : rowKeys) {
        bool any = false;
        for (int32_t a : alt)
            any = any || a != 0;
        if (!any) continue;
        groups::RebuildAltGroup(f, partKey, alt[0], alt[1], alt[2], alt[3], alt[4]);
        grouped = true;
    }
    if (!grouped) f.Execute(f.cnStore(), loneRow);
}

} // namespace insert
