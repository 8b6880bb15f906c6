// The later-list and clean-up operations through kordane-prepare: listed, run on the files the
// options name, and refused a store they cannot read.
#include "prepare/runner.h"
#include "support/prepare_later_fixture.h"

#include <gtest/gtest.h>

using namespace preptest;

namespace {

struct RunnerFiles : PrepFiles {
    QString out, err;
    int run(const QString& operation, const QString& storePath) {
        cn.Close(); // the runner works on the file alone
        QString input;
        QTextStream o(&out), e(&err), in(&input);
        const int code
            = prepare::RunPrepare({ QStringLiteral("--yes"), QStringLiteral("--price-list"),
                                      priceList, QStringLiteral("--store"), storePath, operation },
                o, e, in);
        storekit::OpenFile(cn, priceList);
        return code;
    }
    void hondaSheet() {
        counts(QStringLiteral("PriceNew"), { 1 });
        sheet(QStringLiteral("PriceNew_1"),
            { { { QStringLiteral("PartNO"), QStringLiteral("12 34") } },
                { { QStringLiteral("PartNO"), QStringLiteral("99") } } });
    }
};

TEST(PrepareRunnerLater, HelpListsTheOperationsAndWhichReadTheStore) {
    QString out, err, input;
    QTextStream o(&out), e(&err), in(&input);
    EXPECT_EQ(prepare::RunPrepare({ QStringLiteral("--help") }, o, e, in), prepare::kDone);
    for (const char* name :
        { "MergeNewPriceList", "ApplyNewPricesToSplitLists", "FixFordPartNumbers",
            "MergeLastFordPriceList", "NormaliseIsuzuKinds", "DropShortIsuzuPartNumbers",
            "SplitAlternateNumbers", "FixKindCodes", "ClearUnknownThaiNames", "FixEnglishNames",
            "ClearDotModels", "NormaliseKindValues", "ClearLatinThaiNames" })
        EXPECT_TRUE(out.contains(QLatin1String(name) + QStringLiteral(" [rewrites]\n"))) << name;
    for (const char* name : { "FillIsuzuKinds", "FixHondaPartNumbers" })
        EXPECT_TRUE(out.contains(QLatin1String(name) + QStringLiteral(" [rewrites] [store]\n")))
            << name;
}

TEST(PrepareRunnerLater, StoreOperationRunsOnTheStoreTheOptionsName) {
    RunnerFiles t;
    t.hondaSheet();
    storekit::CreateLookupStore(
        t.store, QStringLiteral("V.31"), 12, { { "1", "12-34", QStringLiteral("1234"), {} } });
    ASSERT_EQ(t.run(QStringLiteral("FixHondaPartNumbers"), t.store), prepare::kDone)
        << t.err.toStdString();
    EXPECT_EQ(t.rows(QStringLiteral("PartNO, PartNew, FPartNO"),
                  QStringLiteral("From PriceNew_1 Order By ID")),
        (Rows { { "12 34", "12-34", "1234" }, { "99", "99", "99" } }));
}

TEST(PrepareRunnerLater, StoreOfThePtaSchemaIsRefusedAndNothingWritten) {
    RunnerFiles t;
    t.hondaSheet();
    storekit::CreateLookupStore(t.store, QStringLiteral("P.68 (Bar)"), 12, {});
    for (const char* op : { "FixHondaPartNumbers", "FillIsuzuKinds" }) {
        EXPECT_EQ(t.run(QLatin1String(op), t.store), prepare::kFailed) << op;
        EXPECT_TRUE(t.err.contains(QStringLiteral("P.68 (Bar)"))) << t.err.toStdString();
    }
    EXPECT_EQ(t.rows(QStringLiteral("PartNO, PartNew, Kind"),
                  QStringLiteral("From PriceNew_1 Order By ID")),
        (Rows { { "12 34", "<Null>", "<Null>" }, { "99", "<Null>", "<Null>" } }));
}

TEST(PrepareRunnerLater, MissingTableIsNamedWithAFailingExit) {
    RunnerFiles t;
    t.sheet(QStringLiteral("PriceNew_1"));
    EXPECT_EQ(t.run(QStringLiteral("MergeNewPriceList"), t.store), prepare::kFailed);
    EXPECT_TRUE(t.err.contains(QStringLiteral("PriceList_New"))) << t.err.toStdString();
}

} // namespace
