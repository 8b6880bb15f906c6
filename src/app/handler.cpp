// The UpDate button: path checks, opening both databases, version and brand, the run, and the
// one place where a run's failure ends.
#include "frmKordane.h"

#include "platform/runtime/error.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/text.h"

using win::Box;
using win::MsgStyle;

void frmKordane::cmdUpDate_Click() {
    auto restore = [this] {
        w.setMousePointer(win::Arrow);
        w.setUpDateEnabled(true);
    };
    try {
        w.setMousePointer(win::ArrowHourglass);
        w.setUpDateEnabled(false);

        const QString listName = QStringLiteral("PriceList_") + mBrandName + QStringLiteral(".mdb");
        const QString p = rt::Trim(w.text(Box::txtPriceList));
        if (p.isEmpty()) {
            w.msgBox(QStringLiteral("ยังมิได้กำหนดที่อยู่ข้อมูล  ") + listName, MsgStyle::Exclamation);
            restore();
            return;
        }
        if (!rt::FileSearchFinds(p)) {
            w.msgBox(QStringLiteral("ที่จัดเก็บข้อมูล  ") + listName + QStringLiteral("  หาไม่พบ"),
                MsgStyle::Exclamation);
            restore();
            return;
        }
        if (w.optAccess()) {
            const QString s = storePathTrimmed();
            if (s.isEmpty()) {
                w.msgBox(QStringLiteral("ยังมิได้กำหนดที่อยู่ข้อมูล"), MsgStyle::Exclamation);
                restore();
                return;
            }
            if (!rt::FileSearchFinds(s)) {
                w.msgBox(s.right(5) == QLatin1String("accdb")
                        ? QStringLiteral("ที่จัดเก็บข้อมูล  Velandor.accdb  หาไม่พบ")
                        : QStringLiteral("ที่จัดเก็บข้อมูล  Velandor.mdb  หาไม่พบ"),
                    MsgStyle::Exclamation);
                restore();
                return;
            }
        }
        w.setText(Box::txtQTY,
            QStringLiteral("กำลังย้าน  Price ") + mBrandName + QStringLiteral("  ชั่วคราว"));
        w.doEvents();

        SetUpPriceListConnection(p); // the path the check accepted, whatever the pump let change
        OpenStoreConnection();
        if (CheckStoreVersion() == 0) {
            cnPriceList().Close();
            cnStore().Close();
            w.msgBox(
                QStringLiteral("กำหนด Vertion ของฐานข้อมูลผิด  ให้ติดต่อผู้ติดตั้งระบบ  หรือ  ผู้จำหน่าย Ostreka"),
                MsgStyle::Question);
            restore();
            return;
        }
        FindBrand();
        if (mBrandID == 0) {
            cnPriceList().Close();
            cnStore().Close();
            w.msgBox(QStringLiteral("ไม่สามารถหา Files ") + mBrandName
                    + QStringLiteral("ในฐานข้อมูล ไม่สามารถบันทึกได้"),
                MsgStyle::Question);
            restore();
            return;
        }
        RunTransfer();
        cnPriceList().Close();
        cnStore().Close();
        w.msgBox(QStringLiteral("เสร็จแล้วจ้า"), MsgStyle::None);
        restore();
    } catch (...) {
        try {
            throw;
        } catch (const rt::RunError& e) {
            w.failureCause(e.message());
        } catch (const std::exception& e) {
            w.failureCause(QString::fromLocal8Bit(e.what()));
        } catch (...) { }
        // From here every step's own failure is ignored; pointer and button stay as they are.
        try {
            if (cnStore().inTransaction()) cnStore().RollbackTrans();
        } catch (...) { }
        try {
            CloseIfOpen(rsList);
        } catch (...) { }
        try {
            CloseIfOpen(rsLookup);
        } catch (...) { }
        w.msgBox(QStringLiteral("ไม่สามรถบันทึกได้"), MsgStyle::None);
    }
}
