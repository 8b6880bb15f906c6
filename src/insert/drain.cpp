// The drain loop shared by the classic and the Pta_ insertion members.
#include "drain.h"

#include "platform/runtime/error.h"
#include "platform/runtime/text.h"

#include <limits>

namespace insert {

namespace {

void dequeue(frmKordane& f, const QueuedPart& p) {
    QString statement
        = QStringLiteral("Delete From PriceList Where BrandID = ") + QString::number(f.mBrandID);
    if (!p.kind.isEmpty())
        statement += QStringLiteral(" And Kind = '") + rt::Quote(p.kind) + QLatin1Char('\'');
    statement += QStringLiteral(" And PartNO = '") + rt::Quote(p.partNo) + QLatin1Char('\'');
    // a row left in the queue would come back as its head on every turn; a count the store
    // does not report (-1) is no proof of that
    if (f.Execute(f.cnStore(), statement) == 0)
        throw rt::RunError(
            QStringLiteral("The staged part %1 could not be removed from PriceList")
                .arg(p.kind.isEmpty() ? p.partNo : p.kind + QLatin1Char('-') + p.partNo));
}

} // namespace

void DrainQueue(frmKordane& f, int16_t n, const std::function<QueuedPart()>& take,
    const std::function<void()>& connected) {
    f.ReopenStore();
    if (connected) connected();
    const int32_t total = f.CountStagedParts();
    int32_t taken = 0;
    const QString tag = QStringLiteral("_") + QString::number(n);
    while (f.OpenStagedParts() != 0) {
        const QueuedPart p = take();

        f.w.doEvents();
        if (taken == std::numeric_limits<int32_t>::max())
            rt::throwOverflow(QStringLiteral("staged part counter"));
        ++taken;
        f.w.setText(win::Box::txtQTY,
            RowProgressText(QStringLiteral("กำลังเพิ่มข้อมูลใหม่  "), f.mBrandName, tag, total, taken));
        f.w.setText(win::Box::txtPartNO, p.partText);

        f.cnStore().BeginTrans();
        p.write();
        dequeue(f, p);
        f.cnStore().CommitTrans();
    }
}

} // namespace insert
