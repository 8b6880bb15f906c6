// The update of parts a Pta_ store already has, for both versions: the match key of number and
// kind, names with their keys and initials, the tables of the other brands of the part's group,
// DetailSaleRem, and the staging of a part the store lacks.
#include "pta/pta.h"
#include "support/update_parts.h"
#include "test_pta_fixture.h"

#include <QRegularExpression>

using namespace ptatest;
using testenv::PassValues;

namespace {

const int32_t kRunDate = 25690401;

struct VersionCase {
    const char* version;
    int16_t (*member)(frmKordane&, PartValues&);
};

void PrintTo(const VersionCase& c, std::ostream* os) {
    *os << c.version;
}

// LastID statements folded into one marker: the counters' own statements differ by store type.
QStringList Folded(const QStringList& trace) {
    QStringList out;
    for (const QString& s : trace) {
        const QString line = s.contains(QLatin1String("LastID")) ? QStringLiteral("<key>") : s;
        if (line == QLatin1String("<key>") && !out.isEmpty() && out.last() == line) continue;
        out << line;
    }
    return out;
}

class PtaUpdate : public ::testing::TestWithParam<VersionCase> {
protected:
    PtaStore& store(int brand, const std::vector<storekit::PtaPart>& parts = {}) {
        s_ = std::make_unique<PtaStore>(QLatin1String(GetParam().version), brand, parts);
        s_->fx.form.OpenStoreConnection();
        return *s_;
    }
    QStringList update(PartValues v) {
        return s_->traced([&] { GetParam().member(s_->fx.form, v); });
    }
    std::unique_ptr<PtaStore> s_;
};

TEST_P(PtaUpdate, PartTheStoreLacksIsStagedUnderItsNumberAndKind) {
    PtaStore& s = store(7, { Part(1, "123456-B") });
    const QString own = s.T("Pta_%1");
    PartValues v = PassValues(kRunDate, "A", "12-345 6", 10.5, 9);
    v.AKind[0] = "B";
    v.AltNO[0] = "X1";
    v.EName = "E";
    v.TName = "T";
    v.Model[0] = "M1";
    v.Model[11] = "M12";
    v.Description = "D";
    v.Import = "I";
    v.DisPrice = "5%";
    EXPECT_LINES(update(v),
        QStringList({ "Select UpRec, PartID From " + own + " Where FPartNO = '123456A'",
            "Insert Into PriceList Values( 7, '12-345 6', 'A', 'X1', 'B', '', '', '', '', '', '', "
            "'', '', 'E', 'T', 'M1', '', '', '', '', '', '', '', '', '', '', 'M12', 'D', 'I', "
            "10.5, "
            "'5%', 9 )",
            "Select PartNO From PriceList Where BrandID = 7 And Kind = 'A' And PartNO = '12-345 "
            "6'" }));

    // a blank kind: the number alone, and no kind in the read-back
    EXPECT_LINES(update(PassValues(kRunDate, "", "12-345 6")).filter("Select"),
        QStringList({ "Select UpRec, PartID From " + own + " Where FPartNO = '123456'",
            "Select PartNO From PriceList Where BrandID = 7 And PartNO = '12-345 6'" }));
    EXPECT_LINES(s.rows("Select Kind, PartNO, AltNO_1, AKind_1, Model_12, Price, DisPrice, Sale "
                        "From PriceList Order By Kind"),
        QStringList({ "|12-345 6||||0||0", "A|12-345 6|X1|B|M12|10.5|5%|9" }));
    EXPECT_LINES(s.rows("Select PartID, EName From " + own), QStringList { "1|" });
}

TEST_P(PtaUpdate, KnownPartIsWrittenInTheTablesOfEveryBrandOfItsGroup) {
    storekit::PtaPart known = Part(10, "P1-A", "OLD");
    known.tName = "เก่า";
    known.price = 50;
    known.sale = 40;
    storekit::PtaPart named = Part(30, "P9", "OIL FILTER");
    named.eNameId = 33;
    PtaStore& s = store(7, { known, named, Part(20, "P2"), Part(21, "P3") });
    const QString own = s.T("Pta_%1");
    const int other = 8;
    const QString otherSfx = storekit::PtaSuffix(s.version, other);
    storekit::CreatePtaBrandTables(s.cn, s.version, other);
    storekit::AddPtaPart(s.cn, s.version, other, known);
    // the group's parts 20 and 21 are kept for brand 8: listed once, after the own brand
    s.cn.Execute("Update " + own + " Set BrandID = 8 Where PartID In (20, 21)");
    for (int alt : { 20, 21 })
        s.cn.Execute(s.T("Insert Into Pta_AltG_%1 Values( 10, ") + QString::number(alt) + " )");
    for (const char* row : { "10, 1, 0, 5", "10, 1, 2, 5", "10, 1, 0, 0", "11, 1, 0, 5" })
        s.cn.Execute(QStringLiteral("Insert Into DetailSaleRem Values( %1 )").arg(row));

    PartValues v = PassValues(kRunDate, "A", "P1", 120, 100);
    v.EName = "OIL FILTER";
    v.TName = "เสื้อสูบ";
    v.Model = { "M1", "", "M3" };
    v.Description = "DESC";
    v.Import = "JP";
    v.DisPrice = "10%";
    const QStringList trace = Folded(update(v));

    QStringList expected { "Select UpRec, PartID From " + own + " Where FPartNO = 'P1A'",
        "Select Count(PartID) As Rec_Count From " + own + " Where FPartNO = 'P1A'",
        "Select UpRec, PartID From " + own + " Where FPartNO = 'P1A'",
        "Select Distinct ModelID From Pta_ModelID Where FBModel = 'VUREM1' ", "<key>",
        "Insert Into Pta_ModelID Values( 0, 7, 1, 'VUREM1', 'M1', 'M1', '', 0 )",
        "Insert Into Pta_BrandCar Values( 10, 7, 1, 'VURE', 'M1' )",
        "Select Distinct ModelID From Pta_ModelID Where FBModel = 'VUREM3' ", "<key>",
        "Insert Into Pta_ModelID Values( 0, 7, 2, 'VUREM3', 'M3', 'M3', '', 0 )",
        "Insert Into Pta_BrandCar Values( 10, 7, 2, 'VURE', 'M3' )",
        s.T("Select Count(PartID) Rec_Count From Pta_AltG_%1 Where PartID = 10"),
        s.T("Select Distinct BrandID From Pta_AltG_%1 Inner Join Pta_%1 On Pta_AltG_%1.AltID = "
            "Pta_%1.PartID Where Pta_AltG_%1.PartID = 10") };
    for (const QString& t : { s.sfx, otherSfx }) {
        const QString set = "Update Pta_" + t + " Set ";
        expected << "Select ENameID From " + own + " Where FEName = 'OILFILTER' "
                 << set + "ENameID = 33, ChrEName = 'O', EName = 'OIL FILTER' Where PartID = 10"
                 << "Update Pta_Doc Set EName = 'OIL FILTER' Where PartID = 10"
                 << "Select TNameID From " + own + " Where FTName = 'เสื้อสูบ' "
                 << "<key>"
                 << set + "TNameID = " + (t == s.sfx ? "1" : "2")
                + ", ChrTName = 'ส', TName = 'เสื้อสูบ' Where PartID = 10"
                 << "Update Pta_Doc Set TName = 'เสื้อสูบ' Where PartID = 10"
                 << set + "Model = 'M1, M3' Where PartID = 10"
                 << "Update Pta_Doc Set Model = 'M1, M3' Where PartID = 10"
                 << set + "Description = 'DESC' Where PartID = 10"
                 << set + "Import = 'JP' Where PartID = 10"
                 << set + "DisPrice = '10%' Where PartID = 10"
                 << set + "Price = 120 Where PartID = 10"
                 << "Update Pta_Alt_" + t + " Set APrice = 120 Where AltID = 10"
                 << set + "Sale = 100 Where PartID = 10"
                 << "Update Pta_Alt_" + t + " Set ASale = 100 Where AltID = 10"
                 << "Delete From DetailSaleRem Where PartID = 10 And Discount = 0 And Price > 0"
                 << "Select PartID From Pta_" + t
                + " Where PartID = 10 And Price = 120 And Sale = 100";
    }
    EXPECT_LINES(trace, expected);

    const QString columns = "Select PartID, ENameID, ChrEName, FEName, EName, TNameID, ChrTName, "
                            "TName, Model, Description, Import, DisPrice, Price, Sale From Pta_";
    for (const QString& t : { s.sfx, otherSfx }) {
        SCOPED_TRACE(t.toStdString());
        EXPECT_LINES(s.rows(columns + t + " Where PartID = 10"),
            QStringList { QString("10|33|O|OLD|OIL FILTER|%1|ส|เสื้อสูบ|M1, M3|DESC|JP|10%|120|100")
                              .arg(t == s.sfx ? 1 : 2) });
        EXPECT_LINES(s.rows("Select AltID, APrice, ASale From Pta_Alt_" + t + " Where AltID = 10"),
            QStringList { "10|120|100" });
    }
    EXPECT_LINES(s.rows("Select PartID, EName, TName, Model From Pta_Doc Where PartID = 10"),
        QStringList({ "10|OIL FILTER|เสื้อสูบ|M1, M3", "10|OIL FILTER|เสื้อสูบ|M1, M3" }));
    EXPECT_LINES(s.rows("Select PartID, Discount, Price From DetailSaleRem Order By PartID, "
                        "Discount, Price"),
        QStringList({ "10|0|0", "10|2|5", "11|0|5" }));
}

TEST_P(PtaUpdate, KeptTextsAndZeroAmounts) {
    struct Case {
        const char* name;
        int upRec;
        double price, sale;
        QString disPrice;
        QStringList writes; // statements but lookups and model links
    };
    const Case cases[] = {
        { "texts kept, discount and price written", 1, 120, 0, "5%",
            { "Update Pta_%1 Set DisPrice = '5%' Where PartID = 10",
                "Update Pta_%1 Set Price = 120 Where PartID = 10",
                "Update Pta_Alt_%1 Set APrice = 120 Where AltID = 10",
                "Select PartID From Pta_%1 Where PartID = 10 And Price = 120" } },
        { "sale alone, negative", 1, 0, -3, "",
            { "Update Pta_%1 Set Sale = -3 Where PartID = 10",
                "Update Pta_Alt_%1 Set ASale = -3 Where AltID = 10",
                "Delete From DetailSaleRem Where PartID = 10 And Discount = 0 And Price > 0",
                "Select PartID From Pta_%1 Where PartID = 10 And Sale = -3" } },
        { "nothing but the model links", 1, 0, 0, "", {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        storekit::PtaPart known = Part(10, "P1", "OLD");
        known.upRec = c.upRec;
        PtaStore& s = store(42, { known });
        PartValues v = PassValues(kRunDate, "", "P1", c.price, c.sale);
        v.EName = "NEW";
        v.Model[0] = "M1";
        v.DisPrice = c.disPrice;
        const QStringList trace = update(v);
        QStringList writes;
        for (const QString& w : c.writes)
            writes << QString(w).replace("%1", s.sfx);
        EXPECT_LINES(
            trace.filter(QRegularExpression("^(Update|Delete|Select PartID From Pta_\\d)")),
            writes);
        EXPECT_LINES(s.rows("Select PartID, Model From Pta_BrandCar"), QStringList { "10|M1" });
        EXPECT_LINES(s.rows(s.T("Select EName From Pta_%1")), QStringList { "OLD" });
    }
}

TEST_P(PtaUpdate, PricesNotReadBackEndTheCall) {
    PtaStore& s = store(7, { Part(10, "P1"), Part(20, "P2") });
    // the group points to a brand whose table lacks the part: its prices cannot be confirmed
    storekit::CreatePtaBrandTables(s.cn, s.version, 8);
    s.cn.Execute(s.T("Update Pta_%1 Set BrandID = 8 Where PartID = 20"));
    s.cn.Execute(s.T("Insert Into Pta_AltG_%1 Values( 10, 20 )"));
    EXPECT_THROW(update(PassValues(kRunDate, "", "P1", 99)), rt::RunError);
    EXPECT_LINES(s.rows(s.T("Select Price From Pta_%1 Where PartID = 10")), QStringList { "99" });
}

TEST_P(PtaUpdate, BrandKeyTooLargeForTheSuffixWritesNothing) {
    const bool p66 = QLatin1String(GetParam().version) == QLatin1String("P.66 (Bar)");
    // the store holds the bare tables an empty suffix would name
    PtaStore& s = store(p66 ? 100 : 1000, { Part(10, "P1") });
    ASSERT_EQ(s.sfx, QString());
    QStringList trace;
    EXPECT_THROW(trace = update(PassValues(kRunDate, "", "P1", 99)), rt::RunError);
    EXPECT_LINES(trace, QStringList());
    EXPECT_LINES(s.rows("Select Price From Pta_"), QStringList { "0" });

    // a brand of the group that does not fit ends the call before its tables are named
    PtaStore& t = store(7, { Part(10, "P1"), Part(20, "P2") });
    t.cn.Execute(t.T("Update Pta_%1 Set BrandID = 1000 Where PartID = 20"));
    t.cn.Execute(t.T("Insert Into Pta_AltG_%1 Values( 10, 20 )"));
    EXPECT_THROW(update(PassValues(kRunDate, "", "P1", 99)), rt::RunError);
    EXPECT_LINES(t.rows(t.T("Select Price From Pta_%1 Where PartID = 10")), QStringList { "99" });
}

INSTANTIATE_TEST_SUITE_P(Versions, PtaUpdate,
    ::testing::Values(VersionCase { "P.66 (Bar)", pta::UpdatePartP66 },
        VersionCase { "P.68 (Bar)", pta::UpdatePartP68 }),
    [](const auto& info) { return std::string(info.index == 0 ? "P66" : "P68"); });

} // namespace
