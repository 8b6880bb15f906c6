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

// Texts as the store compares them: the desktop database and a SQL server's default collation
// both ignore letter case.
bool sameText(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Whether the dequeue of p removes a staged row of that kind and number (both trimmed).
bool removes(const QueuedPart& p, const QString& kind, const QString& partNo) {
    return sameText(partNo, p.partNo) && (p.kind.isEmpty() || sameText(kind, p.kind));
}

// The head of the queue with the staged rows its dequeue removes; none when the queue is empty.
// Rows of one number come together but in any order, so a row of another kind among them is
// passed over: it stays queued. leftBehind tells whether a row read is one that the dequeue of
// `previous` should have removed.
std::optional<QueuedPart> nextPart(frmKordane& f, const std::function<QueuedPart()>& take,
    const QueuedPart* previous = nullptr, bool* leftBehind = nullptr) {
    if (f.OpenStagedParts() == 0) return std::nullopt;
    std::optional<QueuedPart> p;
    bool behind = false;
    try {
        p = take();
        behind = previous && removes(*previous, p->kind, p->partNo);
        for (f.rsList.MoveNext(); !f.rsList.Eof(); f.rsList.MoveNext()) {
            const QString kind = rt::Trim(f.rsList.Field(QStringLiteral("Kind")).toText());
            const QString partNo = rt::Trim(f.rsList.Field(QStringLiteral("PartNO")).toText());
            if (!sameText(partNo, p->partNo)) break;
            behind = behind || (previous && removes(*previous, kind, partNo));
            if (removes(*p, kind, partNo)) p->gather();
        }
    } catch (...) {
        f.rsList.Close();
        throw;
    }
    f.rsList.Close();
    if (leftBehind) *leftBehind = behind;
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
            // No count to go by: the next head and the rows of its number, read before the
            // commit, show whether the dequeue took the part's rows. If not, the part is undone
            // with the run.
            bool leftBehind = false;
            next = nextPart(f, take, &p, &leftBehind);
            if (leftBehind) throw rt::RunError(notRemoved(p));
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
