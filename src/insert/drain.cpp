// The drain loop shared by the classic and the Pta_ insertion members.
#include "drain.h"

#include "app/members.h"
#include "platform/runtime/error.h"
#include "platform/runtime/text.h"

#include <limits>
#include <optional>

namespace insert {

namespace {

QString notRemoved(const QueuedPart& p) {
    return QStringLiteral("The staged part %1 could not be removed from PriceList")
        .arg(p.kind.isEmpty() ? p.partNo : p.kind + QLatin1Char('-') + p.partNo);
}

// Whether the dequeue of p removes a staged row of that kind and number (both trimmed).
bool removes(const QueuedPart& p, const QString& kind, const QString& partNo) {
    return partNo == p.partNo && (p.kind.isEmpty() || kind == p.kind);
}

bool removesCurrent(const frmKordane& f, const QueuedPart& p) {
    return removes(p, rt::Trim(f.rsList.Field(QStringLiteral("Kind")).toText()),
        rt::Trim(f.rsList.Field(QStringLiteral("PartNO")).toText()));
}

// The head of the queue with the staged rows its dequeue removes; none when the queue is empty.
std::optional<QueuedPart> nextPart(frmKordane& f, const std::function<QueuedPart()>& take) {
    if (f.OpenStagedParts() == 0) return std::nullopt;
    std::optional<QueuedPart> p;
    try {
        p = take();
        for (f.rsList.MoveNext(); !f.rsList.Eof() && removesCurrent(f, *p); f.rsList.MoveNext())
            p->gather();
    } catch (...) {
        f.rsList.Close();
        throw;
    }
    f.rsList.Close();
    return p;
}

// False when the store does not report how many rows went (-1).
bool dequeue(frmKordane& f, const QueuedPart& p) {
    QString statement
        = QStringLiteral("Delete From PriceList Where BrandID = ") + QString::number(f.mBrandID);
    if (!p.kind.isEmpty())
        statement += QStringLiteral(" And Kind = '") + rt::Quote(p.kind) + QLatin1Char('\'');
    statement += QStringLiteral(" And PartNO = '") + rt::Quote(p.partNo) + QLatin1Char('\'');
    const int64_t removed = f.Execute(f.cnStore(), statement);
    // a row left in the queue would come back as its head on every turn
    if (removed == 0) throw rt::RunError(notRemoved(p));
    return removed > 0;
}

} // namespace

void DrainQueue(frmKordane& f, int16_t n, const std::function<QueuedPart()>& take,
    const std::function<void()>& connected) {
    f.ReopenStore();
    if (connected) connected();
    const int32_t total = f.CountStagedParts();
    int32_t taken = 0;
    const QString tag = QStringLiteral("_") + QString::number(n);
    for (std::optional<QueuedPart> next = nextPart(f, take); next;) {
        const QueuedPart p = std::move(*next);

        f.w.doEvents();
        if (taken == std::numeric_limits<int32_t>::max())
            rt::throwOverflow(QStringLiteral("staged part counter"));
        ++taken;
        f.w.setText(win::Box::txtQTY,
            RowProgressText(QStringLiteral("กำลังเพิ่มข้อมูลใหม่  "), f.mBrandName, tag, total, taken));
        f.w.setText(win::Box::txtPartNO, p.partText);

        f.cnStore().BeginTrans();
        p.write();
        if (dequeue(f, p)) {
            f.cnStore().CommitTrans();
            next = nextPart(f, take);
        } else {
            // No count to go by: the next head, read before the commit, shows whether the
            // dequeue took the part's rows. If not, the part is undone with the run.
            next = nextPart(f, take);
            if (next && removes(p, next->kind, next->partNo)) throw rt::RunError(notRemoved(p));
            f.cnStore().CommitTrans();
        }
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
