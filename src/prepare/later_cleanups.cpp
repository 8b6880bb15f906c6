// Fixed repairs of the raw sheets: kinds cut to one character, placeholder and Latin Thai
// names, English names that hold misread Thai text, lone-dot models and decimal kinds.
#include "later.h"

#include "common/mduValue.h"
#include "platform/runtime/text.h"

using win::Box;

namespace prepare {

using namespace later;

namespace {

const QString kFirstSheet = QStringLiteral("PriceNew_1");

// The first letters of Latin text standing where a Thai name belongs (no Q, X or Z), and the
// year that begins some of them.
const char* const kLatinNameStarts[] = { "2018", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J",
    "K", "L", "M", "N", "O", "P", "R", "S", "T", "U", "V", "W", "Y" };

// The first two characters that most Thai letters give when their UTF-8 bytes are read as
// code page 874.
const QString kMisreadThai = QStringLiteral("\u0E40\u0E18");

} // namespace

void FixKindCodes(frmKordane& f) {
    if (!ReadPriceListNos(f)) return;
    const QStringList kinds = KindColumns();
    const QStringList columns = kinds
        + QStringList { QStringLiteral("PartNO"), QStringLiteral("TName") } + ModelColumns();
    const int32_t sheets = f.mPriceListNoCount;
    for (int32_t s = 0; s < sheets; ++s) {
        const int16_t n = f.mPriceListNos[size_t(s)];
        const QString sheet = QStringLiteral("PriceNew_%1").arg(n);
        FixNullTexts(f, sheet, columns);
        WalkRows(f,
            QStringLiteral("Select ") + columns.join(QStringLiteral(", "))
                + QStringLiteral(" From ") + sheet,
            [&](int32_t i, int32_t rows) {
                for (const QString& k : kinds)
                    f.rsList.SetField(k, TextOf(f.rsList, k, sheet).left(1));
                const QString kind = TextOf(f.rsList, QStringLiteral("Kind"), sheet);
                const QString partNo = TextOf(f.rsList, QStringLiteral("PartNO"), sheet);
                const QString tName = TextOf(f.rsList, QStringLiteral("TName"), sheet);
                std::array<QString, 12> models;
                for (int m = 0; m < 12; ++m)
                    models[size_t(m)]
                        = TextOf(f.rsList, QStringLiteral("Model_%1").arg(m + 1), sheet);
                f.rsList.Update();
                f.w.setText(Box::txtQTY,
                    RowProgressText(QStringLiteral("กำลังแก้ Kind  "), f.mBrandName,
                        QStringLiteral("_") + QString::number(n), rows, i));
                f.w.setText(
                    Box::txtPartNO, PartLine(kind, partNo, tName, mduValue::JoinModels(models)));
                f.w.doEvents();
            });
    }
}

void ClearUnknownThaiNames(frmKordane& f) {
    f.Execute(f.cnPriceList(),
        QStringLiteral("Update PriceNew_1 Set TName = '' Where TName = '?\?\?\?' "));
}

void FixEnglishNames(frmKordane& f) {
    f.Execute(
        f.cnPriceList(), QStringLiteral("Update PriceNew_1 Set EName = '' Where EName Is Null "));
    struct Named {
        int32_t id;
        QString eName;
    };
    std::vector<Named> loaded;
    int32_t rows = 0;
    WalkRows(f, QStringLiteral("Select ID, EName From PriceNew_1 Where EName <> '' Order By ID"),
        [&](int32_t i, int32_t count) {
            rows = count;
            loaded.push_back({ Int32Of(f.rsList, QStringLiteral("ID"), kFirstSheet),
                TextOf(f.rsList, QStringLiteral("EName"), kFirstSheet) });
            f.w.setText(Box::txtQTY,
                Progress(QStringLiteral("กำลังดึงข้อมูลมาแก้ไข"), rows, i, QStringLiteral(" (")));
            f.w.setText(Box::txtPartNO,
                QString::number(loaded.back().id) + QStringLiteral(" - ") + loaded.back().eName);
            f.w.doEvents();
        });
    int32_t k = 0;
    for (const Named& r : loaded) {
        if (r.id <= 0 || rt::Trim(r.eName).isEmpty()) continue;
        ++k;
        f.w.setText(
            Box::txtQTY, Progress(QStringLiteral("กำลังแก้ไข"), rows, k, QStringLiteral(" (")));
        f.w.setText(Box::txtPartNO, QString::number(r.id) + QStringLiteral(" - ") + r.eName);
        f.w.doEvents();
        if (r.eName.startsWith(kMisreadThai))
            f.Execute(f.cnPriceList(),
                QStringLiteral("Update PriceNew_1 Set EName = '' Where ID = ")
                    + QString::number(r.id));
    }
    f.Execute(f.cnPriceList(), QStringLiteral("Update PriceNew_1 Set TName = EName "));
}

void ClearDotModels(frmKordane& f) {
    for (const QString& m : ModelColumns())
        f.Execute(f.cnPriceList(),
            QStringLiteral("Update PriceNew_1 Set %1 = '' Where %1 = '.' ").arg(m));
}

void NormaliseKindValues(frmKordane& f) {
    for (const QString& k : KindColumns())
        f.Execute(f.cnPriceList(),
            QStringLiteral("Update PriceNew_1 Set %1 = 0 Where %1 Is Null ").arg(k));
    ExecuteAll(f, KindRewrite(kFirstSheet));
}

void ClearLatinThaiNames(frmKordane& f) {
    for (const char* start : kLatinNameStarts)
        f.Execute(f.cnPriceList(),
            QStringLiteral("Update PriceNew_1 Set TName = '' Where TName Like '%1%' ")
                .arg(QLatin1String(start)));
}

} // namespace prepare
