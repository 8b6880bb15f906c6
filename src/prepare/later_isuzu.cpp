// ISUZU lists: decimal kinds, rows and replacements with short part numbers, kinds taken from
// the store's parts, and comma lists of replacement numbers cut into the five columns.
#include "later.h"

#include "platform/runtime/text.h"

using win::Box;

namespace prepare {

using namespace later;

namespace {

QString sheetName(int16_t n) {
    return QStringLiteral("PriceNew_%1").arg(n);
}

// Kind then replacement number, per slot: the columns the short-number rule reads and clears.
QStringList kindAndNumberColumns(bool numberFirst) {
    QStringList c;
    for (int k = 1; k <= 5; ++k) {
        const QString kind = QStringLiteral("AKind_%1").arg(k),
                      alt = QStringLiteral("AltNO_%1").arg(k);
        c << (numberFirst ? alt : kind) << (numberFirst ? kind : alt);
    }
    return c;
}

void showStep(frmKordane& f, const QString& text) {
    f.w.setText(Box::txtQTY, text);
    f.w.setText(Box::txtPartNO, QString());
    f.w.doEvents();
}

struct StoreAnswer {
    bool anyRow = false;
    std::optional<QString> kind; // when exactly one answering part has a kind
};

// Several rows may answer while only one has a kind: that one is taken, whichever row the
// store returns first.
StoreAnswer storeKind(frmKordane& f, const QString& where) {
    const QString part = QStringLiteral("Pta%1").arg(f.mBrandID);
    f.Open(f.rsCheck, f.cnStore(),
        QStringLiteral("Select Count(Kind) As Rec_Count From ") + part + where);
    const int32_t count
        = f.rsCheck.Eof() ? 0 : Int32Of(f.rsCheck, QStringLiteral("Rec_Count"), part);
    f.rsCheck.Close();
    f.Open(f.rsCheck, f.cnStore(), QStringLiteral("Select Kind From ") + part + where);
    StoreAnswer answer;
    answer.anyRow = !f.rsCheck.Eof();
    if (count == 1)
        for (; !f.rsCheck.Eof() && !answer.kind; f.rsCheck.MoveNext()) {
            const rt::Value v = f.rsCheck.Field(QStringLiteral("Kind"));
            if (!v.isNull()) answer.kind = v.toText();
        }
    f.rsCheck.Close();
    return answer;
}

// Fills the empty kinds of one column from the store: by number, then by number and Thai name.
void fillKinds(frmKordane& f, int16_t n, const QString& kindColumn, const QString& numberColumn,
    const QString& head) {
    const QString sheet = sheetName(n);
    WalkRows(f,
        QStringLiteral("Select %1, %2, TName From %3 Where %1 = '' Order By PartNO")
            .arg(kindColumn, numberColumn, sheet),
        [&](int32_t j, int32_t rows) {
            const QString number = TextOf(f.rsList, numberColumn, sheet);
            const QString tName = TextOf(f.rsList, QStringLiteral("TName"), sheet);
            f.w.setText(
                Box::txtQTY, Progress(head + QString::number(n), rows, j, QStringLiteral(")  (")));
            f.w.setText(Box::txtPartNO, number + QStringLiteral(" - ") + tName);
            f.w.doEvents();
            const QString byNumber = QStringLiteral(" Where PartNO = ") + Quoted(number);
            StoreAnswer answer = storeKind(f, byNumber + QLatin1Char(' '));
            if (!answer.anyRow) return;
            if (!answer.kind)
                answer = storeKind(f, byNumber + QStringLiteral(" And TName = ") + Quoted(tName));
            if (!answer.kind) return;
            f.rsList.SetField(kindColumn, *answer.kind);
            f.rsList.Update();
        });
}

} // namespace

void NormaliseIsuzuKinds(frmKordane& f) {
    showStep(f, QStringLiteral("กำลังแก้ไข Kind ของ ISUZU"));
    const auto sheets = ReadTableNumbers(f, QStringLiteral("PriceNew"));
    for (int16_t n : sheets)
        ExecuteAll(f, KindRewrite(sheetName(n)));
}

void DropShortIsuzuPartNumbers(frmKordane& f) {
    const QString label = QStringLiteral("กำลัง PartNO ที่จำนวนเพียง 9 ตัวอักษร ของ ISUZU");
    showStep(f, label);
    const auto sheets = ReadTableNumbers(f, QStringLiteral("PriceNew"));
    for (int16_t n : sheets) {
        const QString sheet = sheetName(n);
        FixNullTexts(f, sheet,
            QStringList { QStringLiteral("PartNO"), QStringLiteral("Kind") }
                + kindAndNumberColumns(true),
            QStringLiteral(" "));
        f.Execute(f.cnPriceList(), QStringLiteral("Delete From %1 Where PartNO = '' ").arg(sheet));
        ExecuteAll(f, KindRewrite(sheet));

        // Taken into memory first: the statements below change the sheet under the walk.
        struct Row {
            QString kind, partNo;
            std::array<QString, 5> alt;
        };
        std::vector<Row> loaded;
        WalkRows(f,
            QStringLiteral("Select Kind, PartNO, ")
                + kindAndNumberColumns(false).join(QStringLiteral(", ")) + QStringLiteral(" From ")
                + sheet + QStringLiteral(" Order By Kind, PartNO"),
            [&](int32_t, int32_t) {
                f.w.doEvents();
                Row r { TextOf(f.rsList, QStringLiteral("Kind"), sheet),
                    TextOf(f.rsList, QStringLiteral("PartNO"), sheet), {} };
                for (int k = 0; k < 5; ++k)
                    r.alt[k] = TextOf(f.rsList, QStringLiteral("AltNO_%1").arg(k + 1), sheet);
                loaded.push_back(r);
            });

        const auto rows = int32_t(loaded.size());
        for (int32_t j = 1; j <= rows; ++j) {
            const Row& r = loaded[size_t(j - 1)];
            f.w.setText(Box::txtQTY, Progress(label, rows, j, QStringLiteral(" (")));
            f.w.setText(Box::txtPartNO,
                rt::Trim(r.kind).isEmpty() ? r.partNo : r.kind + QStringLiteral("-") + r.partNo);
            f.w.doEvents();
            if (rt::Trim(r.partNo).isEmpty()) continue;
            const QString where = QStringLiteral(" Where Kind = ") + Quoted(r.kind)
                + QStringLiteral(" And PartNO = ") + Quoted(r.partNo) + QLatin1Char(' ');
            if (r.partNo.size() < 10) {
                f.Execute(f.cnPriceList(), QStringLiteral("Delete From ") + sheet + where);
                continue;
            }
            for (int k = 1; k <= 5; ++k) {
                const QString& alt = r.alt[size_t(k - 1)];
                if (!rt::Trim(alt).isEmpty() && alt.size() < 10)
                    f.Execute(f.cnPriceList(),
                        QStringLiteral("Update %1 Set AKind_%2 = '', AltNO_%2 = ''")
                                .arg(sheet)
                                .arg(k)
                            + where);
            }
        }
    }
}

void FillIsuzuKinds(frmKordane& f) {
    RequireClassicStore(f, "FillIsuzuKinds");
    const auto sheets = ReadTableNumbers(f, QStringLiteral("PriceNew"));
    for (int16_t n : sheets) {
        const QString sheet = sheetName(n);
        FixNullTexts(f, sheet,
            QStringList { QStringLiteral("Kind"), QStringLiteral("PartNO") }
                + kindAndNumberColumns(false) + QStringList { QStringLiteral("TName") });
        ExecuteAll(f, KindRewrite(sheet));
        fillKinds(f, n, QStringLiteral("Kind"), QStringLiteral("PartNO"),
            QStringLiteral("กำลังแก้ไข Kind (ISUZU_ "));
        f.Execute(
            f.cnPriceList(), QStringLiteral("Update %1 Set Kind = 0 Where Kind = '' ").arg(sheet));
        fillKinds(f, n, QStringLiteral("AKind_1"), QStringLiteral("AltNO_1"),
            QStringLiteral("กำลังแก้ไข AKind (ISUZU_ "));
        f.Execute(f.cnPriceList(),
            QStringLiteral("Update %1 Set AKind_1 = 0 Where AKind_1 = '' ").arg(sheet));
    }
}

std::array<QString, 5> CutAlternateList(const QString& list) {
    std::array<QString, 5> a;
    QString rest = list;
    for (QString& piece : a) {
        const auto p = rest.indexOf(QLatin1Char(','));
        if (p < 0) break;
        piece = rt::Trim(rest.left(p));
        // Everything after the comma stays: a number written right after it keeps its first
        // character, and a list ending in a comma leaves nothing over.
        rest = rt::Trim(rest.mid(p + 1));
    }
    if (rest.isEmpty()) return a;
    for (int k = 0; k < 4; ++k)
        if (rt::Trim(a[size_t(k)]).isEmpty()) {
            a[size_t(k)] = rest;
            return a;
        }
    a[4] = rest;
    return a;
}

void SplitAlternateNumbers(frmKordane& f) {
    const auto sheets = ReadTableNumbers(f, QStringLiteral("PriceNew"));
    for (int16_t n : sheets) {
        const QString sheet = sheetName(n);
        for (int k = 1; k <= 5; ++k)
            f.Execute(
                f.cnPriceList(), QStringLiteral("Update %1 Set AKind_%2 = '' ").arg(sheet).arg(k));
        QStringList alts;
        for (int k = 1; k <= 5; ++k)
            alts << QStringLiteral("AltNO_%1").arg(k);
        FixNullTexts(f, sheet, alts);
        WalkRows(f,
            QStringLiteral("Select ID, ") + alts.join(QStringLiteral(", "))
                + QStringLiteral(" From ") + sheet + QStringLiteral(" Where AltNO_1 <> '' "),
            [&](int32_t, int32_t) {
                f.w.doEvents(); // nothing to show: where a stop is taken
                const int32_t id = Int32Of(f.rsList, QStringLiteral("ID"), sheet);
                const QString list = TextOf(f.rsList, QStringLiteral("AltNO_1"), sheet);
                if (!list.contains(QLatin1Char(','))) return;
                const auto a = CutAlternateList(list);
                QStringList set;
                for (int k = 0; k < 5; ++k)
                    set << alts[k] + QStringLiteral(" = ") + Quoted(a[size_t(k)]);
                f.Execute(f.cnPriceList(),
                    QStringLiteral("Update ") + sheet + QStringLiteral(" Set ")
                        + set.join(QStringLiteral(", ")) + QStringLiteral(" Where ID = ")
                        + QString::number(id));
            });
    }
}

} // namespace prepare
