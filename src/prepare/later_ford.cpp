// FORD lists: part numbers squeezed in every raw sheet, and the PriceLast tables merged into
// the first raw sheet on the squeezed number.
#include "later.h"

#include "common/mduValue.h"
#include "platform/runtime/text.h"

using win::Box;

namespace prepare {

using namespace later;

namespace {

QStringList partNumberColumns() {
    QStringList c { QStringLiteral("PartNO") };
    for (int k = 1; k <= 5; ++k)
        c << QStringLiteral("AltNO_%1").arg(k);
    return c;
}

// One cell of a PriceLast row as the merge carries it.
struct FordCell {
    QString column;
    QString value; // a text, or the statement text of an amount
    bool quoted = true;
    bool overwrites = false; // a matched part takes it when it is not empty
};

// The cells of a new row in the FORD list's own order (Import before the models, no
// Description): kinds cleaned, part and replacement numbers squeezed, the other texts cleaned.
std::vector<FordCell> fordCells(const ado::Recordset& rs, const QString& table) {
    auto cleaned = [&](const QString& column, bool overwrites) {
        rt::Value v = TextOf(rs, column, table);
        return FordCell { column, mduValue::CleanTextVar(v), true, overwrites };
    };
    auto squeezed = [&](const QString& column, bool overwrites) {
        return FordCell { column, mduValue::SqueezeText(TextOf(rs, column, table)), true,
            overwrites };
    };
    auto amount = [&](const QString& column) {
        return FordCell { column, CurrencyOf(rs, column, table).toText(), false, false };
    };
    std::vector<FordCell> cells { cleaned(QStringLiteral("Kind"), false),
        squeezed(QStringLiteral("PartNO"), false) };
    for (int k = 1; k <= 5; ++k) {
        cells.push_back(cleaned(QStringLiteral("AKind_%1").arg(k), false));
        cells.push_back(squeezed(QStringLiteral("AltNO_%1").arg(k), true));
    }
    for (const QString& c :
        QStringList { QStringLiteral("EName"), QStringLiteral("TName"), QStringLiteral("Import") }
            + ModelColumns())
        cells.push_back(cleaned(c, true));
    cells.push_back(amount(QStringLiteral("Price")));
    cells.push_back(cleaned(QStringLiteral("DisPrice"), true));
    cells.push_back(amount(QStringLiteral("Sale")));
    return cells;
}

QString cellValue(const std::vector<FordCell>& cells, const char* column) {
    for (const FordCell& c : cells)
        if (c.column == QLatin1String(column)) return c.value;
    return {};
}

} // namespace

void FixFordPartNumbers(frmKordane& f) {
    const QString label = QStringLiteral("กำลังแก้ไข PartNO (FORD)");
    f.w.setText(Box::txtQTY, label);
    const auto sheets = ReadTableNumbers(f, QStringLiteral("PriceNew"));
    const QStringList columns = partNumberColumns();
    for (int16_t n : sheets) {
        const QString sheet = QStringLiteral("PriceNew_%1").arg(n);
        FixNullTexts(f, sheet, columns);
        WalkRows(f,
            QStringLiteral("Select ") + columns.join(QStringLiteral(", "))
                + QStringLiteral(" From ") + sheet + QStringLiteral(" Order By PartNO"),
            [&](int32_t j, int32_t rows) {
                QStringList squeezed;
                for (const QString& c : columns)
                    squeezed << mduValue::SqueezeText(TextOf(f.rsList, c, sheet));
                f.w.setText(Box::txtQTY, Progress(label, rows, j));
                f.w.setText(Box::txtPartNO, TextOf(f.rsList, QStringLiteral("PartNO"), sheet));
                f.w.doEvents();
                for (int c = 0; c < columns.size(); ++c)
                    f.rsList.SetField(columns[c], squeezed[c]);
                f.rsList.Update();
            });
    }
}

void MergeLastFordPriceList(frmKordane& f) {
    const auto lists = ReadTableNumbers(f, QStringLiteral("PriceLast"));
    for (int16_t n : lists) {
        const QString table = QStringLiteral("PriceLast_%1").arg(n);
        FixNullSupplierRow(f, table);
        f.Execute(f.cnPriceList(), QStringLiteral("Delete From %1 Where PartNO = ''").arg(table));
        for (const QString& m : ModelColumns())
            f.Execute(f.cnPriceList(),
                QStringLiteral("Update %1 Set %2 = '' Where %2 = '-'").arg(table, m));

        WalkRows(f,
            QStringLiteral("Select ") + SupplierColumns().join(QStringLiteral(", "))
                + QStringLiteral(" From ") + table + QStringLiteral(" Order By PartNO"),
            [&](int32_t j, int32_t rows) {
                const std::vector<FordCell> cells = fordCells(f.rsList, table);
                const QString partNo = cellValue(cells, "PartNO");
                const QString tName = cellValue(cells, "TName");
                f.w.setText(Box::txtQTY,
                    Progress(QStringLiteral("กำลังรวมข้อมูล FORD"), rows, j, QStringLiteral(" (")));
                f.w.setText(Box::txtPartNO, partNo + QStringLiteral(" - ") + tName);
                f.w.doEvents();

                const QString where = QStringLiteral(" Where PartNO = ") + Quoted(partNo);
                if (!HasRow(f, f.rsCheck, f.cnPriceList(),
                        QStringLiteral("Select PartNO From PriceNew_1") + where)) {
                    // Named columns: the sheet has more columns than the list carries (ID,
                    // Description, PartNew, FPartNO), and each value belongs to its own column.
                    QStringList names, values;
                    for (const FordCell& c : cells) {
                        names << c.column;
                        values << (c.quoted ? Quoted(c.value) : c.value);
                    }
                    f.Execute(f.cnPriceList(),
                        QStringLiteral("Insert Into PriceNew_1 (")
                            + names.join(QStringLiteral(", ")) + QStringLiteral(") Values( ")
                            + values.join(QStringLiteral(", ")) + QStringLiteral(" )"));
                    return;
                }
                for (const FordCell& c : cells)
                    if (c.overwrites && !c.value.isEmpty())
                        f.Execute(f.cnPriceList(),
                            QStringLiteral("Update PriceNew_1 Set ") + c.column
                                + QStringLiteral(" = ") + Quoted(c.value) + where);
                f.Execute(f.cnPriceList(),
                    QStringLiteral("Update PriceNew_1 Set Price = ") + cellValue(cells, "Price")
                        + QStringLiteral(", Sale = ") + cellValue(cells, "Sale") + where);
            });
    }
}

} // namespace prepare
