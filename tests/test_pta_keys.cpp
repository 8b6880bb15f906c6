// The key a Pta_ store keeps a number under (FPartNO): written by the insertion, found again by
// the insertion, the update of a later run and the residue walk, whatever the number holds.
#include "support/lines.h"
#include "test_pta_fixture.h"

using namespace ptatest;
using storekit::MakePriceRow;

namespace {

class PtaKeys : public ::testing::TestWithParam<const char*> {
protected:
    PtaStore s { QLatin1String(GetParam()), 7, {}, QStringLiteral("KWZ730258") };

    void press() {
        s.fx.window.messages.clear();
        s.fx.form.cmdUpDate_Click();
        ASSERT_EQ(s.fx.window.messages.size(), 1u);
        EXPECT_EQ(s.fx.window.messages[0].text, QStringLiteral("เสร็จแล้วจ้า"));
    }
    void priceAll(int price) {
        ado::Connection cn;
        storekit::OpenFile(cn, s.priceList, QStringLiteral("PLN394"));
        cn.Execute(QStringLiteral("Update PriceList_1 Set Price = %1").arg(price));
    }
    QStringList groupRows() {
        return s.rows(s.T("Select PartID, AltID From Pta_AltG_%1 Order By 1, 2"));
    }
};

// Each number once in the list at 10, then at 20: one part, its price updated by the second
// run, nothing listed as new, no further group rows.
TEST_P(PtaKeys, EachNumberIsFoundAgainByTheNextRun) {
    struct Case {
        const char* kind;
        QString number;
        QString partNo; // as stored
        QString fPartNo;
    };
    const QString controls
        = QStringLiteral("C") + QChar(1) + QChar(2) + QChar(3) + QChar(4) + QStringLiteral("1");
    const QString controlLeft = QStringLiteral("C") + QChar(4) + QStringLiteral("1");
    const Case cases[] = {
        { "", QStringLiteral("15601-87703"), "1560187703", "1560187703" },
        { "0", QStringLiteral("04152-YZZA1"), "04152YZZA1-0", "04152YZZA10" },
        { "", QStringLiteral("B 12/3"), "B123", "B123" },
        { "", QStringLiteral("O'NEIL,2"), "ONEIL2", "ONEIL2" },
        { "", QStringLiteral("D*1"), "D1", "D1" },
        { "", QStringLiteral("E***1"), "E1", "E1" },
        { "", QStringLiteral("A****1"), "A*1", "A*1" },
        { "2", QStringLiteral("F*****1"), "F*1-2", "F*12" },
        { "", controls, controlLeft, controlLeft },
    };
    std::vector<PriceRow> list;
    QStringList stored;
    for (const Case& c : cases) {
        list.push_back(MakePriceRow(QLatin1String(c.kind), c.number, "PART", "", 10));
        stored << QStringLiteral("%1|%2|10").arg(c.partNo, c.fPartNo);
    }
    stored.sort();
    storekit::CreatePriceList(s.priceList, { { 1, list } }, QStringLiteral("PLN394"));
    const QString parts = s.T("Select PartNO, FPartNO, Price From Pta_%1 Order By PartNO");

    press();
    EXPECT_LINES(s.rows(parts), stored);
    EXPECT_EQ(s.fx.window.grid().TextMatrix(1, 3), QString());
    const QStringList groups = groupRows();

    priceAll(20);
    press();
    EXPECT_LINES(
        s.rows(parts), stored.replaceInStrings(QStringLiteral("|10"), QStringLiteral("|20")));
    EXPECT_EQ(s.fx.window.grid().TextMatrix(1, 3), QString());
    EXPECT_LINES(groupRows(), groups);
}

// Two parts replaced by one new number: the number is stored once, whatever it holds, and the
// group rows are those of an ordinary number.
TEST_P(PtaKeys, OneReplacementNumberOfTwoRowsIsOnePart) {
    const QString groupOfOrdinary = [&] {
        PtaStore other(QLatin1String(GetParam()), 7, {}, QStringLiteral("KWZ730258"));
        storekit::CreatePriceList(other.priceList,
            { { 1,
                { MakePriceRow("", "M-1", "PART", "", 10, 0, { "R-1" }),
                    MakePriceRow("", "M-2", "PART", "", 10, 0, { "R-1" }) } } },
            QStringLiteral("PLN394"));
        other.fx.form.cmdUpDate_Click();
        return other.rows(other.T("Select PartID, AltID From Pta_AltG_%1 Order By 1, 2"))
            .join(QLatin1Char(' '));
    }();
    storekit::CreatePriceList(s.priceList,
        { { 1,
            { MakePriceRow("", "M-1", "PART", "", 10, 0, { "R****1" }),
                MakePriceRow("", "M-2", "PART", "", 10, 0, { "R****1" }) } } },
        QStringLiteral("PLN394"));
    press();
    EXPECT_LINES(s.rows(s.T("Select PartID, PartNO From Pta_%1 Order By PartID")),
        QStringList({ "1|M1", "2|R*1", "3|M2" }));
    EXPECT_EQ(groupRows().join(QLatin1Char(' ')), groupOfOrdinary);
}

INSTANTIATE_TEST_SUITE_P(Versions, PtaKeys, ::testing::Values("P.66 (Bar)", "P.68 (Bar)"),
    [](const auto& info) { return testenv::ParamName(info.param); });

} // namespace
