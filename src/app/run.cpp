// The run sequence, the two passes over the price list and the new-part dispatch.
#include "members.h"

#include "common/mduDate.h"
#include "common/mduValue.h"
#include "platform/runtime/text.h"

using win::Box;

namespace {

QString trimmedText(const ado::Recordset& rs, const char* column) {
    return rt::Trim(rs.Field(QLatin1String(column)).toText());
}

// The columns both passes read, in their order; AltNO and AKind only in pass 1.
void readRowTexts(const ado::Recordset& rs, PartValues& v, bool withAlternates) {
    if (withAlternates)
        for (int k = 0; k < 5; ++k) {
            v.AKind[k] = rt::Trim(rs.Field(QStringLiteral("AKind_%1").arg(k + 1)).toText());
            v.AltNO[k] = rt::Trim(rs.Field(QStringLiteral("AltNO_%1").arg(k + 1)).toText());
        }
    v.EName = trimmedText(rs, "EName");
    v.TName = trimmedText(rs, "TName");
    for (int k = 0; k < 12; ++k)
        v.Model[k] = rt::Trim(rs.Field(QStringLiteral("Model_%1").arg(k + 1)).toText());
    v.Description = trimmedText(rs, "Description");
    v.Import = trimmedText(rs, "Import");
    v.Price = rs.Field(QStringLiteral("Price")).toCurrency();
    v.DisPrice = trimmedText(rs, "DisPrice");
    v.Sale = rs.Field(QStringLiteral("Sale")).toCurrency();
}

// Moves the filled replacement numbers forward in three blocks; a kind travels with its number.
void compactSlots(PartValues& v) {
    auto empty = [&](int k) { return rt::Trim(v.AltNO[k]).isEmpty(); };
    auto move = [&](int to, int from) {
        v.AKind[to] = v.AKind[from];
        v.AltNO[to] = v.AltNO[from];
        v.AKind[from].clear();
        v.AltNO[from].clear();
    };
    auto fillFrom = [&](int slot, int first) {
        for (int b = first; b < 5; ++b)
            if (!empty(b)) {
                move(slot, b);
                return;
            }
    };
    if (empty(0)) fillFrom(0, 1);
    if (empty(1)) fillFrom(1, 2);
    if (empty(2)) {
        if (!empty(3))
            move(2, 3);
        else if (!empty(4))
            move(2, 4);
    } else if (empty(3) && !empty(4)) {
        move(3, 4);
    }
}

QString modelText(const PartValues& v) {
    return mduValue::JoinModels(v.Model);
}

// Sale 0 takes the price; then the row's progress texts, and the window's events.
void showRow(frmKordane& f, PartValues& v, const QString& models, const QString& tag, int32_t total,
    int32_t j) {
    if (v.Sale == rt::Currency()) v.Sale = v.Price;
    f.w.setText(Box::txtQTY,
        RowProgressText(QStringLiteral("กำลังเปลี่ยนราคา  "), f.mBrandName, tag, total, j));
    f.w.setText(Box::txtPartNO, RowPartText(v.Kind, v.PartNO, RowLabel(v.TName, v.EName, models)));
    f.w.doEvents();
}

// A failure while a pass has a row in hand names the table and the row's part number (as the
// row holds it: the failure may have come before it was read, or a member may have rewritten it).
[[noreturn]] void throwForRow(const ado::Recordset& rs, const QString& table,
    const QString& partColumn, const rt::RunError& e) {
    QString partNo = QStringLiteral("?");
    try {
        const rt::Value v = rs.Field(partColumn);
        partNo = v.isNull() ? QStringLiteral("Null") : rt::Trim(v.toText());
    } catch (const rt::RunError&) { }
    throw rt::RunError(QStringLiteral("%1, part %2: %3").arg(table, partNo, e.message()));
}

} // namespace

bool frmKordane::ReadPriceListNos() {
    Open(rsList, cnPriceList(),
        QStringLiteral("Select ") + QStringLiteral("Count ") + QStringLiteral("From ")
            + QStringLiteral("PriceList_Count ") + QStringLiteral("Order By Count"));
    if (rsList.Eof()) {
        rsList.Close();
        return false;
    }
    try {
        mPriceListNoCount = rsList.RecordCount();
        mPriceListNos.assign(size_t(mPriceListNoCount) + 1, 0);
        for (int32_t i = 0; !rsList.Eof(); ++i) {
            mPriceListNos[size_t(i)] = rsList.Field(QStringLiteral("Count")).toInt16();
            rsList.MoveNext();
        }
    } catch (...) {
        rsList.Close();
        throw;
    }
    rsList.Close();
    return true;
}

void frmKordane::TransferPriceTables() {
    w.setText(Box::txtQTY, StepText(QStringLiteral("กำลังย้ายข้อมูล  "), mBrandName));
    w.doEvents();
    const int32_t runDate = mduDate::RunDate();
    if (!ReadPriceListNos()) return;
    const int32_t tables = mPriceListNoCount;
    for (int32_t i = 0; i < tables; ++i) {
        int16_t n = mPriceListNos[size_t(i)];
        ReopenStore();
        EmptyStagedParts();
        int32_t j = 0;
        const QString table = QStringLiteral("PriceList_") + QString::number(n);
        Open(rsList, cnPriceList(),
            QStringLiteral("Select ")
                + QStringLiteral(
                    "Kind, PartNO, PartNew, AKind_1, AltNO_1, AKind_2, AltNO_2, AKind_3, AltNO_3, "
                    "AKind_4, AltNO_4, AKind_5, AltNO_5, EName, TName, Model_1, Model_2, Model_3, "
                    "Model_4, Model_5, Model_6, Model_7, Model_8, Model_9, Model_10, Model_11, "
                    "Model_12, Description, Import, Price, DisPrice, Sale ")
                + QStringLiteral("From ") + table + QStringLiteral(" ")
                + QStringLiteral("Order By PartNO"));
        const int32_t total = rsList.RecordCount();
        const QString partColumn = mBrandName == QLatin1String("BENZ") ? QStringLiteral("PartNew")
                                                                       : QStringLiteral("PartNO");
        while (!rsList.Eof()) {
            try {
                PartValues v;
                v.Kind = trimmedText(rsList, "Kind");
                v.PartNO = rt::Trim(rsList.Field(partColumn).toText());
                readRowTexts(rsList, v, true);
                v.RunDate = runDate;
                const QString models = modelText(v);
                compactSlots(v);
                showRow(*this, v, models, QStringLiteral("_") + QString::number(n), total, ++j);
                update::UpdatePart(*this, v);
                for (int k = 0; k < 5; ++k) {
                    const QString alt = rt::Trim(v.AltNO[k]);
                    const QString akind = rt::Trim(v.AKind[k]);
                    if (alt.isEmpty() || alt == rt::Trim(v.PartNO)) continue;
                    if (!akind.isEmpty() && akind == rt::Trim(v.Kind)) continue;
                    PartValues a = v; // names, models, prices and date of the row
                    a.Kind = v.AKind[k];
                    a.PartNO = v.AltNO[k];
                    a.AKind = {};
                    a.AltNO = {};
                    update::UpdatePart(*this, a);
                }
            } catch (const rt::RunError& e) {
                throwForRow(rsList, table, partColumn, e);
            }
            rsList.MoveNext();
        }
        rsList.Close();
        InsertNewParts(n);
        w.setText(Box::txtQTY, FinishText(QStringLiteral("กำลังเพิ่มข้อมูลใหม่  "), mBrandName));
    }
}

void frmKordane::TransferPriceListAll() {
    w.setText(Box::txtQTY, StepText(QStringLiteral("กำลังย้ายข้อมูล  "), mBrandName));
    w.doEvents();
    const int32_t runDate = mduDate::RunDate();
    EmptyStagedParts();
    int32_t j = 0;
    Open(rsList, cnPriceList(),
        QStringLiteral("Select ")
            + QStringLiteral(
                "Kind, PartNO, EName, TName, Model_1, Model_2, Model_3, Model_4, Model_5, Model_6, "
                "Model_7, Model_8, Model_9, Model_10, Model_11, Model_12, Description, Import, "
                "Price, DisPrice, Sale ")
            + QStringLiteral("From ") + QStringLiteral("PriceListAll"));
    const int32_t total = rsList.RecordCount();
    const QString version = rt::Trim(mStoreVersion);
    using Member = int16_t (*)(frmKordane&, PartValues&);
    Member member = &update::UpdatePartStd;
    const std::pair<const char*, Member> dispatch[] = { { "P.66 (Bar)", &pta::UpdatePartP66 },
        { "P.68 (Bar)", &pta::UpdatePartP68 }, { "P.45 (Bar)", &update::UpdatePartP45 },
        { "P.48 (Bar)", &update::UpdatePartP48 }, { "P.49 (Bar)", &update::UpdatePartP49 },
        { "P.64 (Bar)", &update::UpdatePartP64 }, { "P.65 (Bar)", &update::UpdatePartP65 } };
    for (const auto& [text, m] : dispatch)
        if (version == QLatin1String(text)) {
            member = m;
            break;
        }
    while (!rsList.Eof()) {
        try {
            PartValues v;
            v.Kind = trimmedText(rsList, "Kind");
            v.PartNO = trimmedText(rsList, "PartNO");
            readRowTexts(rsList, v, false);
            v.RunDate = runDate;
            const QString models = modelText(v);
            showRow(*this, v, models, QStringLiteral("_All"), total, ++j);
            member(*this, v);
        } catch (const rt::RunError& e) {
            throwForRow(rsList, QStringLiteral("PriceListAll"), QStringLiteral("PartNO"), e);
        }
        rsList.MoveNext();
    }
    rsList.Close();
    int16_t zero = 0;
    InsertNewParts(zero);
    w.setText(Box::txtQTY, FinishText(QStringLiteral("กำลังเพิ่มข้อมูลใหม่  "), mBrandName));
}

int16_t frmKordane::HasPriceListAll() {
    Open(rsList, cnPriceList(),
        QStringLiteral("Select ") + QStringLiteral("PartNO ") + QStringLiteral("From ")
            + QStringLiteral("PriceListAll"));
    const bool empty = rsList.Eof();
    rsList.Close();
    return empty ? 0 : 1;
}

int16_t frmKordane::InsertNewParts(int16_t& n) {
    using Member = void (*)(frmKordane&, int16_t&);
    static const std::pair<const char*, Member> dispatch[] = { { "Ver 3.1 SQL",
                                                                   &insert::InsertNewPartsSql31 },
        { "V.31", &insert::InsertNewPartsV31 }, { "V.32", &insert::InsertNewPartsV31 },
        { "V.33", &insert::InsertNewPartsV33 }, { "V.34", &insert::InsertNewPartsV34 },
        { "V.41", &insert::InsertNewPartsV31 }, { "V.42", &insert::InsertNewPartsV42 },
        { "V.43", &insert::InsertNewPartsV43 }, { "V.45", &insert::InsertNewPartsV45 },
        { "V.46 (Bar)", &insert::InsertNewPartsV46 }, { "V.51", &insert::InsertNewPartsV31 },
        { "V.61", &insert::InsertNewPartsV31 }, { "P.42", &insert::InsertNewPartsV31 },
        { "P.43", &insert::InsertNewPartsP43 }, { "P.44 (Bar)", &insert::InsertNewPartsP44 },
        { "P.45 (Bar)", &insert::InsertNewPartsP45 }, { "P.46 (Bar)", &insert::InsertNewPartsP46 },
        { "P.47001 (Bar)", &insert::InsertNewPartsP46 },
        { "P.48 (Bar)", &insert::InsertNewPartsP48 }, { "P.49 (Bar)", &insert::InsertNewPartsP49 },
        { "P.52", &insert::InsertNewPartsP52 }, { "P.61 (Bar)", &insert::InsertNewPartsP61 },
        { "P.62 (Bar)", &insert::InsertNewPartsP46 }, { "P.64 (Bar)", &insert::InsertNewPartsP64 },
        { "P.65 (Bar)", &insert::InsertNewPartsP64 }, { "P.66 (Bar)", &pta::InsertNewPartsP66 },
        { "P.68 (Bar)", &pta::InsertNewPartsP68 }, { "D.47 (Bar)", &insert::InsertNewPartsP46 } };
    const QString version = rt::Trim(mStoreVersion);
    for (const auto& [text, member] : dispatch)
        if (version == QLatin1String(text)) {
            int16_t copy = n;
            member(*this, copy);
            break;
        }
    if (IsPtaVersion(mStoreVersion)) return 0;
    const QString b = QString::number(mBrandID);
    Execute(
        cnStore(), QStringLiteral("Delete From AltG") + b + QStringLiteral(" Where PartID = 0"));
    Execute(cnStore(), QStringLiteral("Delete From Alt") + b + QStringLiteral(" Where AltID = 0"));
    if (rt::Trim(mStoreVersion) == QLatin1String("P.49 (Bar)"))
        Execute(cnStore(),
            QStringLiteral("Insert Into Alt") + b
                + QStringLiteral(" Values( 0, 0, '', '', 0, 0 )"));
    else
        Execute(cnStore(),
            QStringLiteral("Insert Into Alt") + b + QStringLiteral(" Values( 0, '', '', 0 )"));
    return 0;
}

void frmKordane::RunTransfer() {
    // A previous run's rows never stand beside this run's.
    SetUpDetailGrid();
    if (w.optAccess())
        RecreateStagingTable();
    else
        RecreateStagingTableSql();
    TransferPriceTables();
    reconcile::CollectPriceListAll(*this);
    if (HasPriceListAll() == 1) {
        TransferPriceListAll();
        reconcile::ReportPriceDiffs(*this);
    }
    if (w.chkLikelAt() == 1) groups::ReorganizeAltGroups(*this);
}
