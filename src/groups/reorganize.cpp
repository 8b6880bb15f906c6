// The reorganisation of every replacement group of the brand: a work table queues each part
// with a group row, and each queue head's group is rebuilt and dequeued in one transaction.
#include "app/members.h"
#include "groups.h"

namespace groups {

namespace {

struct QueueTables {
    QString queue; // the shared work table
    QString groupTable; // the brand's group table
};

void reorganize(frmKordane& f, const QueueTables& t) {
    ado::Connection& cn = f.cnStore();
    f.Execute(cn, QStringLiteral("Delete From ") + t.queue);
    f.Execute(
        cn, QStringLiteral("Delete From ") + t.groupTable + QStringLiteral(" Where PartID = 0"));
    f.Execute(cn,
        QStringLiteral("Insert Into ") + t.queue + QStringLiteral("(PartID) Select PartID From ")
            + t.groupTable);
    const QString dequeue
        = QStringLiteral("Delete From ") + t.queue + QStringLiteral(" Where PartID = ");
    for (;;) {
        f.Open(f.rsList, cn,
            QStringLiteral("Select ") + QStringLiteral("PartID ") + QStringLiteral("From ")
                + t.queue);
        if (f.rsList.Eof()) break;
        int32_t head = f.rsList.Field(QStringLiteral("PartID")).toInt32();
        f.rsList.Close();

        cn.BeginTrans();
        f.w.doEvents();
        f.w.setText(win::Box::txtPartNO, QString::number(head));
        // The head and its direct partners: exactly the members the rebuild links.
        std::vector<int32_t> regroup;
        const int64_t counted = int64_t(CountAltGroup(f, f.mBrandID, head)) + 1;
        if (counted > INT32_MAX) rt::throwOverflow(QStringLiteral("group member count"));
        int32_t regroupCount = int32_t(counted);
        if (OpenAltGroup(f, f.mBrandID, head) == 1) {
            regroup.assign(size_t(regroupCount) + 1, 0);
            regroup[0] = head;
            for (int32_t i = 1; !f.rsLookup.Eof(); ++i) {
                if (i >= regroupCount) {
                    f.rsLookup.Close();
                    throw rt::RunError(QStringLiteral("More group rows than counted"));
                }
                regroup[size_t(i)] = f.rsLookup.Field(QStringLiteral("PartID")).toInt32();
                f.rsLookup.MoveNext();
            }
            f.rsLookup.Close();
        } else {
            regroupCount = 1;
            regroup.assign(2, 0);
            regroup[0] = head;
        }
        int32_t none1 = 0, none2 = 0, none3 = 0, none4 = 0, none5 = 0;
        RebuildAltGroup(f, head, none1, none2, none3, none4, none5);
        f.Execute(cn, dequeue + QString::number(head));
        for (int32_t i = 1; i < regroupCount; ++i)
            if (regroup[size_t(i)] > 0)
                f.Execute(cn, dequeue + QString::number(regroup[size_t(i)]));
        cn.CommitTrans();
    }
    f.rsList.Close();
}

void showStep(frmKordane& f) {
    f.w.setText(win::Box::txtQTY, StepText(QStringLiteral("จัดระเบียบเบอร์แทนใหม่  "), f.mBrandName));
    f.w.doEvents();
}

} // namespace

void ReorganizeAltGroupsAltG(frmKordane& f) {
    showStep(f);
    reorganize(
        f, { QStringLiteral("AltGX"), QStringLiteral("AltG") + QString::number(f.mBrandID) });
}

void ReorganizeAltGroupsPta(frmKordane& f) {
    showStep(f);
    const QString sfx = PtaSuffix(f);
    reorganize(f, { QStringLiteral("Pta_AltGX"), QStringLiteral("Pta_AltG_") + sfx });
}

void ReorganizeAltGroups(frmKordane& f) {
    if (IsPtaVersion(f.mStoreVersion))
        ReorganizeAltGroupsPta(f);
    else
        ReorganizeAltGroupsAltG(f);
}

} // namespace groups
