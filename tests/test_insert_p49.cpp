// New-part insertion into stores of "P.49 (Bar)", "P.52", "P.61 (Bar)", "P.64 (Bar)" and
// "P.65 (Bar)": the statements of one drain, the rows it leaves, and whole runs.
#include "app/members.h"
#include "platform/runtime/text.h"
#include "storekit/classic.h"
#include "support/fake_window.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"
#include "support/staged_parts.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using storekit::ClassicPart;

const QString kThai = QStringLiteral("แหวนลูกสูบ");

// A staged part: kind and number, replacement slots as "kind:number".
PriceFields Part(const QString& kind, const QString& number, const QStringList& alts = {}) {
    PriceFields r;
    r.Kind = kind;
    r.PartNO = number;
    for (int k = 0; k < alts.size(); ++k) {
        r.AKind[k] = alts[k].section(QLatin1Char(':'), 0, 0);
        r.AltNO[k] = alts[k].section(QLatin1Char(':'), 1);
    }
    r.EName = QStringLiteral("RING SET");
    r.TName = kThai;
    r.Model[0] = QStringLiteral("M1");
    r.Model[2] = QStringLiteral(" M3 ");
    r.Description = QStringLiteral("O'RING");
    r.Import = QStringLiteral("JP");
    r.Price = rt::Currency::fromDouble(125.5);
    r.DisPrice = QStringLiteral("5%");
    r.Sale = rt::Currency::fromDouble(100);
    return r;
}

// A classic store of one version holding brand 12, and a loaded form on it.
class Store {
public:
    Store(const char* version, const std::vector<ClassicPart>& parts = {}) {
        const QString dir = testenv::TempDir();
        const QString path = dir + QStringLiteral("/store.accdb");
        storekit::CreateClassicStore(path, QLatin1String(version), 12, parts);
        fx.useStore(dir + QStringLiteral("/PriceList_VURE.mdb"), path, 12, QLatin1String(version));
        storekit::OpenFile(cn, path);
    }

    void stage(const PriceFields& r) {
        auto q
            = [](const QString& s) { return QLatin1Char('\'') + rt::Quote(s) + QLatin1Char('\''); };
        QStringList v { QStringLiteral("12"), q(r.PartNO), q(r.Kind) };
        for (int k = 0; k < 5; ++k)
            v << q(r.AltNO[k]) << q(r.AKind[k]);
        v << q(r.EName) << q(r.TName);
        for (const QString& m : r.Model)
            v << q(m);
        v << q(r.Description) << q(r.Import) << r.Price.toText() << q(r.DisPrice)
          << r.Sale.toText();
        cn.Execute(QStringLiteral("Insert Into PriceList Values( ") + v.join(QStringLiteral(", "))
            + QStringLiteral(" )"));
    }

    // The insertion dispatcher, as a pass calls it after a price-list table.
    void drain(int16_t n = 3) { fx.form.InsertNewParts(n); }

    QStringList rows(const QString& columns, const QString& rest) {
        return QueryRows(cn, columns, rest);
    }
    QStringList groups() {
        return rows(
            QStringLiteral("PartID, AltID"), QStringLiteral("AltG12 Order By PartID, AltID"));
    }
    QStringList queue() {
        return rows(QStringLiteral("Kind, PartNO"), QStringLiteral("PriceList Order By PartNO"));
    }

    FormFixture fx;
    ado::Connection cn;
};

const char* const kVersions[] = { "P.49 (Bar)", "P.52", "P.61 (Bar)", "P.64 (Bar)", "P.65 (Bar)" };

// The statements of one staged part with a new, a repeated and a stored replacement number.
struct GoldenCase {
    const char* version;
    QStringList lookups; // main part, slot 1, slot 3
    QString mainRow, slotRow; // the values of Pta12
    QString mainCode, slotCode; // the values of Alt12
    QString placeholder;
};

void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.version;
}

class Golden : public ::testing::TestWithParam<GoldenCase> { };

TEST_P(Golden, StatementsOfOneStagedPart) {
    const GoldenCase& c = GetParam();
    Store s(c.version, { StoredPart(40, "C", "P3") });
    s.stage(Part("A", "P-1/X", { "B:P-2", ":P-1/X", "C:P3" }));
    const QStringList trace = testenv::StartingWith(testenv::Traced([&] { s.drain(); }),
        { "Select PartID From Pta12", "Insert Into Pta12", "Insert Into Alt12", "Delete From Alt12",
            "Delete From PriceList" });

    auto insert = [](const char* table, const QString& values) {
        return QStringLiteral("Insert Into %1 Values( %2 )").arg(QLatin1String(table), values);
    };
    EXPECT_LINES(trace,
        { c.lookups[0], insert("Pta12", c.mainRow), insert("Alt12", c.mainCode), c.lookups[1],
            insert("Pta12", c.slotRow), insert("Alt12", c.slotCode), c.lookups[2],
            "Delete From PriceList Where BrandID = 12 And Kind = 'A' And PartNO = 'P-1/X'",
            "Delete From Alt12 Where AltID = 0", insert("Alt12", c.placeholder) });
}

const QString kByNumber[] = {
    QStringLiteral("Select PartID From Pta12 Where Kind = 'A' And PartNO = 'P-1/X'"),
    QStringLiteral("Select PartID From Pta12 Where Kind = 'B' And PartNO = 'P-2'"),
    QStringLiteral("Select PartID From Pta12 Where Kind = 'C' And PartNO = 'P3'"),
};
// the kind only for the staged part itself
const QString kBySqueezed[] = {
    QStringLiteral("Select PartID From Pta12 Where Kind = 'A' And FPartNO = 'P1X'"),
    QStringLiteral("Select PartID From Pta12 Where FPartNO = 'P2'"),
    QStringLiteral("Select PartID From Pta12 Where FPartNO = 'P3'"),
};
const QString kFourCodes[] = { QStringLiteral("41, 'A', 'P-1/X', 125.5"),
    QStringLiteral("42, 'B', 'P-2', 125.5"), QStringLiteral("0, '', '', 0") };

const GoldenCase kP64 { "P.64 (Bar)", { kBySqueezed[0], kBySqueezed[1], kBySqueezed[2] },
    "0, 0, 41, 'A', 'P1X', 'P-1/X', 'B', 'P-2', '', 'P-1/X', 'RING SET  M1, M3', 'RING SET', "
    "'แหวนลูกสูบ  M1, M3', 'แหวนลูกสูบ', 'O''RING', 'M1, M3', '', 'JP', 125.5, 0, 100, 0, 0, '', "
    "0, 0, 0, 0, 0, '', '', 0, 0, 0, '', ''",
    "0, 0, 42, 'B', 'P2', 'P-2', '', '', '', 'P-2', 'RING SET  M1, M3', 'RING SET', "
    "'แหวนลูกสูบ  M1, M3', 'แหวนลูกสูบ', '', 'M1, M3', '', '', 125.5, 0, 100, 0, 0, '', "
    "0, 0, 0, 0, 0, '', '', 0, 0, 0, '', ''",
    kFourCodes[0], kFourCodes[1], kFourCodes[2] };

GoldenCase P65() {
    GoldenCase c = kP64;
    c.version = "P.65 (Bar)";
    return c;
}

INSTANTIATE_TEST_SUITE_P(Versions, Golden,
    ::testing::Values(
        GoldenCase { "P.52", { kByNumber[0], kByNumber[1], kByNumber[2] },
            "0, 41, 'A', '', 'P-1/X', 'B', 'P-2', '', 'RING SET  M1, M3', 'RING SET', "
            "'แหวนลูกสูบ  M1, M3', 'แหวนลูกสูบ', 'O''RING', 'M1, M3', '', 'JP', 125.5, 0, 100, 0, "
            "0, '', 0, 0, 0, 0, '', 0, 12, 0, 0, 'A-P-1/X', 0, 0, 0, 0, 0, 0",
            "0, 42, 'B', '', 'P-2', '', '', '', 'RING SET  M1, M3', 'RING SET', "
            "'แหวนลูกสูบ  M1, M3', 'แหวนลูกสูบ', '', 'M1, M3', '', '', 125.5, 0, 100, 0, "
            "0, '', 0, 0, 0, 0, '', 0, 12, 0, 0, 'B-P-2', 0, 0, 0, 0, 0, 0",
            kFourCodes[0], kFourCodes[1], kFourCodes[2] },
        GoldenCase { "P.61 (Bar)", { kByNumber[0], kByNumber[1], kByNumber[2] },
            "0, 41, 'A', 'P1X', 'P-1/X', 'B', 'P-2', '', 'RING SET', 'หแวนลูกสูบ', 'แหวนลูกสูบ', "
            "'O''RING', 'M1, M3', '', 'JP', '', 125.5, '5%', 100, '', 0, 0, 0, 1, 0, '', 0, 0, 0, "
            "0, 0, 12, 0, 0, 'A-P-1/X', 0, 0, 0, 0, 0, 0, 0",
            "0, 42, 'B', 'P2', 'P-2', '', '', '', 'RING SET', 'หแวนลูกสูบ', 'แหวนลูกสูบ', "
            "'', 'M1, M3', '', '', '', 125.5, '5%', 100, '', 0, 0, 0, 1, 0, '', 0, 0, 0, "
            "0, 0, 12, 0, 0, 'B-P-2', 0, 0, 0, 0, 0, 0, 0",
            kFourCodes[0], kFourCodes[1], kFourCodes[2] },
        kP64, P65(),
        GoldenCase { "P.49 (Bar)", { kBySqueezed[0], kBySqueezed[1], kBySqueezed[2] },
            "0, 41, 'A', 'P1X', 'P-1/X', 'P-1/X', 'B', 'P-2', '', 'RING SET', 'หแวนลูกสูบ', "
            "'แหวนลูกสูบ', 'O''RING', 'M1, M3', '', 'JP', '', 125.5, '5%', 100, '', '', 1, 0, 0, 0, "
            "0",
            "0, 42, 'B', 'P2', 'P-2', 'P-2', '', '', '', 'RING SET', 'หแวนลูกสูบ', "
            "'แหวนลูกสูบ', '', 'M1, M3', '', '', '', 125.5, '5%', 100, '', '', 1, 0, 0, 0, "
            "0",
            "41, 1, 'A', 'P-1/X', 125.5, 100", "42, 1, 'B', 'P-2', 125.5, 100",
            "0, 0, '', '', 0, 0" }),
    [](const auto& info) {
        std::string name = info.param.version;
        std::erase_if(name, [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); });
        return name;
    });

// What the lookups find, by the rows the drain leaves: squeezed-number versions find a part
// written differently and a replacement of any kind; the others look the number up as staged.
TEST(InsertLookups, FoundOrNewByVersion) {
    struct Case {
        const char* name;
        std::vector<const char*> versions;
        std::vector<ClassicPart> stored;
        std::vector<PriceFields> staged;
        QStringList parts; // PartID|Kind|FPartNO|PartNO, without FPartNO where looked up as staged
        QStringList groups; // PartID|AltID
    };
    const std::vector<const char*> squeezed { "P.49 (Bar)", "P.64 (Bar)", "P.65 (Bar)" };
    const std::vector<const char*> asStaged { "P.52", "P.61 (Bar)" };
    const Case cases[] = {
        { "written differently, same kind", squeezed, { StoredPart(40, "A", "AB12C") },
            { Part("A", "AB-12/C") }, { "40|A|AB12C|AB12C" }, { "40|0" } },
        { "written differently, looked up as staged", asStaged, { StoredPart(40, "A", "AB12C") },
            { Part("A", "AB-12/C") }, { "40|A|AB12C", "41|A|AB-12/C" }, { "41|0" } },
        { "same squeezed number under another kind", squeezed, { StoredPart(40, "B", "AB12C") },
            { Part("A", "AB 12C") }, { "40|B|AB12C|AB12C", "41|A|AB12C|AB 12C" }, { "41|0" } },
        { "blank kind finds any kind", squeezed, { StoredPart(40, "B", "AB12C") },
            { Part("", "AB-12C") }, { "40|B|AB12C|AB12C" }, { "40|0" } },
        { "replacement stored under another kind", squeezed, { StoredPart(40, "B", "P3") },
            { Part("A", "P1", { "C:P-3" }) }, { "40|B|P3|P3", "41|A|P1|P1" },
            { "40|41", "41|40" } },
        // the slot is taken up (the texts differ) and finds the part just written
        { "replacement equal but for a hyphen", squeezed, {}, { Part("A", "AB-12", { ":AB12" }) },
            { "41|A|AB12|AB-12" }, { "41|0" } },
        { "replacement equal but for a hyphen, looked up as staged", asStaged, {},
            { Part("A", "AB-12", { ":AB12" }) }, { "41|A|AB-12", "42||AB12" },
            { "41|42", "42|41" } },
        { "two slots of one squeezed number", squeezed, {},
            { Part("A", "P1", { "B:P-2", "C:P 2" }) }, { "41|A|P1|P1", "42|B|P2|P-2" },
            { "41|42", "42|41" } },
    };
    for (const Case& c : cases)
        for (const char* version : c.versions) {
            SCOPED_TRACE(std::string(c.name) + " / " + version);
            Store s(version, c.stored);
            s.cn.Execute(QStringLiteral("Update LastID Set LastID = 40"));
            for (const PriceFields& r : c.staged)
                s.stage(r);
            s.drain();
            // position 4 of a part row is the squeezed number only where the lookups use it
            const bool bySqueezed = c.versions == squeezed;
            EXPECT_LINES(s.rows(bySqueezed ? QStringLiteral("PartID, Kind, FPartNO, PartNO")
                                           : QStringLiteral("PartID, Kind, PartNO"),
                             QStringLiteral("Pta12 Order By PartID")),
                c.parts);
            EXPECT_LINES(s.groups(), c.groups);
            EXPECT_LINES(s.queue(), {});
        }
}

// The named columns that the update members read and write hold the values they stand for.
TEST(InsertLayouts, NamedColumnsHoldTheirValues) {
    struct Case {
        const char* version;
        QString columns;
        QStringList rows;
    };
    const QString names = QStringLiteral("RING SET|") + kThai;
    const Case cases[] = {
        { "P.49 (Bar)", "BarCode, IndTName, DisPrice", { "P-1|หแวนลูกสูบ|5%", "P-2|หแวนลูกสูบ|5%" } },
        { "P.52", "EFind, TFind, BrandID, PartCode",
            { "RING SET  M1, M3|แหวนลูกสูบ  M1, M3|12|A-P-1",
                "RING SET  M1, M3|แหวนลูกสูบ  M1, M3|12|B-P-2" } },
        { "P.61 (Bar)", "IndTName, DisPrice, BrandID, PartCode",
            { "หแวนลูกสูบ|5%|12|A-P-1", "หแวนลูกสูบ|5%|12|B-P-2" } },
        { "P.64 (Bar)", "BarCode, EFind, TFind",
            { "P-1|RING SET  M1, M3|แหวนลูกสูบ  M1, M3", "P-2|RING SET  M1, M3|แหวนลูกสูบ  M1, M3" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        Store s(c.version);
        s.stage(Part("A", "P-1", { "B:P-2" }));
        s.drain();
        const QString common = QStringLiteral(
            "UpRec, PartID, Kind, PartNO, lAtNO, EName, TName, Model, Description, Import, "
            "Price, Sale, ");
        QStringList expected {
            "0|1|A|P-1|P-2|" + names + "|M1, M3|O'RING|JP|125.5|100|",
            "0|2|B|P-2||" + names + "|M1, M3|||125.5|100|",
        };
        for (int i = 0; i < expected.size(); ++i)
            expected[i] += c.rows[i];
        EXPECT_LINES(s.rows(common + c.columns, QStringLiteral("Pta12 Order By PartID")), expected);
    }
}

QString codeColumns(const char* version) {
    return QLatin1String(version) == QLatin1String("P.49 (Bar)")
        ? QStringLiteral("AltID, AltNum, AKind, AltNO, APrice, APrice2")
        : QStringLiteral("AltID, AKind, AltNO, APrice");
}

// A failed key allocation leaves the part out; the dispatcher then removes the group row of
// key 0 and keeps one code row of key 0, of the version's width, however often it runs.
TEST(InsertDispatch, KeyZeroRowsGoAndOnePlaceholderStays) {
    for (const char* version : kVersions) {
        SCOPED_TRACE(version);
        Store s(version);
        s.cn.Execute(QStringLiteral("Drop Table LastID"));
        s.stage(Part("A", "P1"));
        s.drain();
        s.drain(0);
        EXPECT_LINES(s.rows(QStringLiteral("PartID"), QStringLiteral("Pta12")), {});
        EXPECT_LINES(s.groups(), {});
        EXPECT_LINES(s.queue(), {});
        const QString placeholder = QLatin1String(version) == QLatin1String("P.49 (Bar)")
            ? QStringLiteral("0|0|||0|0")
            : QStringLiteral("0|||0");
        EXPECT_LINES(s.rows(codeColumns(version), QStringLiteral("Alt12")), { placeholder });
    }
}

// One transaction per staged part: a refused row undoes that part alone.
TEST(InsertDispatch, FailureKeepsTheEarlierParts) {
    for (const char* version : kVersions) {
        SCOPED_TRACE(version);
        Store s(version);
        s.cn.Execute("CREATE TRIGGER refuse BEFORE INSERT ON Pta12 WHEN NEW.PartNO = 'P3' "
                     "BEGIN SELECT RAISE(ABORT, 'refused'); END");
        for (const char* number : { "P1", "P2" })
            s.stage(Part("A", QLatin1String(number)));
        s.stage(Part("A", "P3", { "B:P4" }));
        EXPECT_THROW(s.drain(), rt::RunError);
        // what the UpDate handler does with the transaction in hand
        s.fx.form.cnStore().RollbackTrans();
        EXPECT_LINES(
            s.rows(QStringLiteral("PartID, PartNO"), QStringLiteral("Pta12 Order By PartID")),
            { "1|P1", "2|P2" });
        EXPECT_LINES(s.rows(QStringLiteral("AltID, AltNO"),
                         QStringLiteral("Alt12 Where AltID <> 0 Order By AltID")),
            { "1|P1", "2|P2" });
        EXPECT_LINES(s.groups(), { "1|0", "2|0" });
        EXPECT_LINES(s.queue(), { "A|P3" });
        EXPECT_LINES(s.rows(QStringLiteral("LastID"), QStringLiteral("LastID")), { "2" });
    }
}

// Whole runs through the UpDate handler: a price list of two tables against a store holding one
// of its parts.
struct RunCase {
    const char* version;
    bool sqlServer;
};

void PrintTo(const RunCase& c, std::ostream* os) {
    *os << c.version << (c.sqlServer ? " on the SQL server" : "");
}

class WholeRun : public ::testing::TestWithParam<RunCase> {
protected:
    void SetUp() override {
        const QString dir = testenv::TempDir();
        store = dir + QStringLiteral("/Velandor.accdb");
        const QString list = dir + QStringLiteral("/PriceList_VURE.mdb");
        ClassicPart known = StoredPart(1, "0", "15601-87703");
        known.price = 180;
        known.sale = 150;
        storekit::CreateClassicStore(store, QLatin1String(GetParam().version), 12, { known },
            GetParam().sqlServer ? QString() : QStringLiteral("KWZ730258"));
        if (GetParam().sqlServer) { // the stand-in of the server has no file password
            storekit::OpenFile(cn, store);
            cn.Execute(QStringLiteral("CREATE TABLE StandInPassword (Pwd TEXT)"));
            cn.Execute(QStringLiteral("INSERT INTO StandInPassword VALUES ('KWZ730258')"));
            cn.Close();
        }
        using storekit::MakePriceRow;
        storekit::CreatePriceList(list,
            { { 3,
                  { MakePriceRow(QStringLiteral("0"), QStringLiteral("15601-87703"),
                        QStringLiteral("OIL FILTER NEW"), QStringLiteral("ไส้กรองน้ำมัน"), 195, 160,
                        {}, QStringLiteral("HILUX")),
                      MakePriceRow(QStringLiteral("1"), QStringLiteral("N-1"),
                          QStringLiteral("BELT'S"), QStringLiteral("เข็มขัด"), 450, 0,
                          { QString(), QStringLiteral("N-2") }, QStringLiteral("VIGO")) } },
                { 1,
                    { MakePriceRow(QString(), QStringLiteral("N-3"), QStringLiteral("CAP"),
                        QString(), 20, 15) } } },
            QStringLiteral("PLN394"));
        if (GetParam().sqlServer)
            fx.useSqlServerStore(list, store);
        else
            fx.useDesktopStore(list, store);
        storekit::OpenFile(cn, store, QStringLiteral("KWZ730258"));
    }

    QStringList rows(const QString& columns, const QString& rest) {
        return QueryRows(cn, columns, rest);
    }
    QStringList parts() {
        return rows(QStringLiteral("PartID, Kind, PartNO, EName, TName, Model, Price, Sale"),
            QStringLiteral("Pta12 Order By PartID"));
    }

    QString store;
    FormFixture fx;
    ado::Connection cn;
};

TEST_P(WholeRun, UpdatesInsertsAndGroups) {
    fx.form.cmdUpDate_Click();
    ASSERT_EQ(fx.window.messages.size(), 1u);
    EXPECT_EQ(fx.window.messages[0].text, QStringLiteral("เสร็จแล้วจ้า"));
    EXPECT_TRUE(fx.window.upDateEnabled);

    EXPECT_LINES(parts(),
        { "1|0|15601-87703|OIL FILTER NEW|ไส้กรองน้ำมัน|HILUX|195|160", "2||N-3|CAP|CAP||20|15",
            "3|1|N-1|BELT'S|เข็มขัด|VIGO|450|450", "4||N-2|BELT'S|เข็มขัด|VIGO|450|450" });
    EXPECT_LINES(
        rows(QStringLiteral("AltID, AKind, AltNO, APrice"), QStringLiteral("Alt12 Order By AltID")),
        { "0|||0", "1|0|15601-87703|195", "2||N-3|20", "3|1|N-1|450", "4||N-2|450" });
    EXPECT_LINES(
        rows(QStringLiteral("PartID, AltID"), QStringLiteral("AltG12 Order By PartID, AltID")),
        { "2|0", "3|4", "4|0", "4|3" });
    EXPECT_LINES(rows(QStringLiteral("LastID"), QStringLiteral("LastID")), { "4" });
    EXPECT_LINES(rows(QStringLiteral("PartNO"), QStringLiteral("PriceList")), {});
}

TEST_P(WholeRun, RefusedPartEndsTheRunWithItsTransactionUndone) {
    cn.Execute("CREATE TRIGGER refuse BEFORE INSERT ON Pta12 WHEN NEW.PartNO = 'N-2' "
               "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    fx.form.cmdUpDate_Click();
    ASSERT_EQ(fx.window.messages.size(), 1u);
    EXPECT_EQ(fx.window.messages[0].text, QStringLiteral("ไม่สามรถบันทึกได้"));

    // the part of table 1 and the update stay; N-1 and its replacement are undone together
    EXPECT_LINES(parts(),
        { "1|0|15601-87703|OIL FILTER NEW|ไส้กรองน้ำมัน|HILUX|195|160", "2||N-3|CAP|CAP||20|15" });
    EXPECT_LINES(
        rows(QStringLiteral("AltID"), QStringLiteral("Alt12 Order By AltID")), { "0", "1", "2" });
    EXPECT_LINES(rows(QStringLiteral("LastID"), QStringLiteral("LastID")), { "2" });
    EXPECT_LINES(rows(QStringLiteral("Kind, PartNO"), QStringLiteral("PriceList Order By PartNO")),
        { "1|N-1", "|N-2" });
}

INSTANTIATE_TEST_SUITE_P(Versions, WholeRun,
    ::testing::Values(RunCase { "P.52", false }, RunCase { "P.52", true },
        RunCase { "P.61 (Bar)", false }, RunCase { "P.64 (Bar)", false },
        RunCase { "P.65 (Bar)", true }, RunCase { "P.49 (Bar)", false },
        RunCase { "P.49 (Bar)", true }),
    [](const auto& info) {
        std::string name = info.param.version;
        std::erase_if(name, [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); });
        return name + (info.param.sqlServer ? "Odbc" : "");
    });

} // namespace
