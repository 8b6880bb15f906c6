// The kordane-prepare runner: a build from raw sheets that a transfer then carries into a
// store, bad sheets and the rerun after mending them, usage errors and the question.
#include "prepare/runner.h"
#include "storekit/classic.h"
#include "storekit/prepare_tables.h"
#include "support/fake_window.h"
#include "support/lines.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <ostream>

using rt::Value;
using storekit::MakeRawRow;
using storekit::RawRow;

namespace {

const QString kListPassword = QStringLiteral("PLN394");
const QString kStorePassword = QStringLiteral("KWZ730258");

struct Runner : testenv::RunFiles {
    QString out, err;

    int run(QStringList args, const QString& answer = {},
        const std::vector<prepare::Operation>& operations = prepare::Operations()) {
        out.clear();
        err.clear();
        QString input = answer;
        QTextStream o(&out), e(&err), in(&input);
        return prepare::RunPrepare(args, o, e, in, false, operations);
    }
    int build(const QString& answer = {}, bool yes = true,
        const std::vector<prepare::Operation>& operations = prepare::Operations()) {
        QStringList args { QStringLiteral("--price-list"), priceList, QStringLiteral("--store"),
            store, QStringLiteral("BuildPriceList") };
        if (yes) args.prepend(QStringLiteral("--yes"));
        return run(args, answer, operations);
    }
    void exec(const QString& sql) {
        ado::Connection cn;
        storekit::OpenFile(cn, priceList, kListPassword);
        cn.Execute(sql);
    }
    static QStringList rows(const QString& path, const QString& sql, const QString& password) {
        return testenv::QueryRows(path, sql, {}, password);
    }
    QStringList listRows(const QString& sql) { return rows(priceList, sql, kListPassword); }
    // sheet 2 again, without the named column
    void remakeSheet2(const QString& without);
};

RawRow withColumn(RawRow r, const char* column, const Value& v) {
    r.push_back({ QString::fromLatin1(column), v });
    return r;
}

// Sheet 1: a part the store has (twice, the lower price dropped), sheet 2: a new part with a
// replacement number, and a row without a part number.
storekit::RawSheets twoSheets() {
    const RawRow known = withColumn(
        MakeRawRow(QStringLiteral("0.00"), QStringLiteral("15601-87703"),
            QStringLiteral("OIL FILTER NEW"), 195, 160, QString::fromUtf8("ไส้กรองน้ำมัน")),
        "Model_1", QStringLiteral("HILUX"));
    const RawRow knownCheaper = MakeRawRow(QStringLiteral("0"), QStringLiteral("15601 87703"),
        QStringLiteral("OIL FILTER OLD"), 150, 140);
    const RawRow fresh = withColumn(
        withColumn(MakeRawRow(QStringLiteral("1.00"), QStringLiteral("N-1"), QStringLiteral("BELT"),
                       450, Value(), QString::fromUtf8("เข็มขัด")),
            "AltNO_1", QStringLiteral("N-2")),
        "Model_1", QStringLiteral("-"));
    const RawRow noNumber = MakeRawRow(QStringLiteral("1"), QString(), QStringLiteral("X"), 1, 1);
    return { { 2, { fresh, noNumber } }, { 1, { known, knownCheaper } } };
}

void Runner::remakeSheet2(const QString& without) {
    exec(QStringLiteral("Drop Table PriceNew_2"));
    std::vector<storekit::Column> cols = storekit::RawSheetColumns();
    std::erase_if(cols, [&](const storekit::Column& c) { return c.name == without; });
    std::vector<RawRow> rows = twoSheets()[0].second;
    for (RawRow& row : rows)
        std::erase_if(row, [&](const auto& cell) { return cell.first == without; });
    ado::Connection cn;
    storekit::OpenFile(cn, priceList, kListPassword);
    storekit::CreateRawTable(cn, QStringLiteral("PriceNew_2"), rows, cols);
}

void makeFiles(Runner& r, const storekit::RawSheets& sheets) {
    storekit::CreatePriceList(r.priceList, { { 1, {} }, { 2, {} } }, kListPassword);
    storekit::AddRawSheets(r.priceList, sheets, kListPassword);
    storekit::ClassicPart known;
    known.partId = 1;
    known.kind = QStringLiteral("0");
    known.partNo = QStringLiteral("15601-87703");
    known.eName = QStringLiteral("OIL FILTER");
    known.price = 180;
    known.sale = 150;
    storekit::CreateClassicStore(r.store, QStringLiteral("V.31"), 12, { known }, kStorePassword);
}

const QString kBuiltRows = QStringLiteral(
    "Select Kind, PartNO, PartNew, FPartNew, AltNO_1, EName, Model_1, Price, Sale From "
    "PriceList_1 Order By PartNO");
const QStringList kBuilt { QStringLiteral("0|15601-87703|15601-87703|1560187703||OIL FILTER "
                                          "NEW|HILUX|195|160"),
    QStringLiteral("1|N-1|N-1|N1|N-2|BELT||450|450") };

TEST(PrepareRunner, BuildFromTwoSheetsThenATransferCarriesItIntoTheStore) {
    Runner r;
    makeFiles(r, twoSheets());

    ASSERT_EQ(r.build(), prepare::kDone) << r.err.toStdString();

    EXPECT_EQ(r.listRows(kBuiltRows), kBuilt);
    EXPECT_EQ(r.listRows(QStringLiteral("Select PartNO From PriceList_2")), QStringList());
    EXPECT_EQ(r.listRows(QStringLiteral("Select PartNO From PriceList")), QStringList());
    EXPECT_TRUE(r.out.contains(QStringLiteral("กำลังสร้าง FPartNew  VURE_2  (0)  100 %\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("กำลังแยกรายการสินค้า  (0)  100 %\n")));
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("เสร็จแล้วจ้า\n")));

    FormFixture fx;
    fx.useDesktopStore(r.priceList, r.store);
    fx.form.cmdUpDate_Click();
    ASSERT_EQ(fx.window.messages.size(), 1u);
    EXPECT_EQ(fx.window.messages[0].text, QStringLiteral("เสร็จแล้วจ้า"));
    EXPECT_EQ(Runner::rows(r.store,
                  QStringLiteral("Select PartID, Kind, PartNO, EName, Price, Sale From Pta12 "
                                 "Order By PartID"),
                  kStorePassword),
        (QStringList { QStringLiteral("1|0|15601-87703|OIL FILTER NEW|195|160"),
            QStringLiteral("2|1|N-1|BELT|450|450"), QStringLiteral("3||N-2|BELT|450|450") }));
}

TEST(PrepareRunner, BadSheetStopsWithItsNameAndARerunAfterMendingBuildsWhole) {
    struct Case {
        const char* what;
        std::function<void(Runner&)> spoil, mend;
        QStringList mentions; // in the error text
    };
    const QString longNo = QString(60, QLatin1Char('L'));
    const Case cases[] = {
        { "missing column", [](Runner& r) { r.remakeSheet2(QStringLiteral("Import")); },
            [](Runner& r) { r.remakeSheet2(QString()); },
            { QStringLiteral("PriceNew_2"), QStringLiteral("Import") } },
        { "price that is no number",
            [](Runner& r) {
                r.exec(QStringLiteral("Update PriceNew_2 Set Price = 'abc' Where PartNO = 'N-1'"));
            },
            [](Runner& r) {
                r.exec(QStringLiteral("Update PriceNew_2 Set Price = 450 Where PartNO = 'N-1'"));
            },
            { QStringLiteral("PriceNew_2") } },
        { "part number longer than its column",
            [&](Runner& r) {
                r.exec(QStringLiteral("Update PriceNew_2 Set PartNO = '%1' Where PartNO = 'N-1'")
                           .arg(longNo));
            },
            [&](Runner& r) {
                r.exec(QStringLiteral("Update PriceNew_2 Set PartNO = 'N-1' Where PartNO = '%1'")
                           .arg(longNo));
            },
            { QStringLiteral("PriceNew_2"), QStringLiteral("PartNO") } },
        { "kind too long for the numbered table, found by the split",
            [](Runner& r) {
                r.exec(QStringLiteral("Update PriceNew_2 Set Kind = '1.5' Where PartNO = 'N-1'"));
            },
            [](Runner& r) {
                r.exec(QStringLiteral("Update PriceNew_2 Set Kind = '1' Where PartNO = 'N-1'"));
            },
            { QStringLiteral("PriceList_1.Kind") } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Runner r;
        makeFiles(r, twoSheets());
        // a first good build, so the numbered table holds rows the failed run empties
        ASSERT_EQ(r.build(), prepare::kDone);
        c.spoil(r);

        EXPECT_EQ(r.build(), prepare::kFailed);
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("ไม่สามรถบันทึกได้: "))) << r.err.toStdString();
        for (const QString& m : c.mentions)
            EXPECT_TRUE(r.err.contains(m)) << r.err.toStdString();
        EXPECT_FALSE(r.out.contains(QStringLiteral("เสร็จแล้วจ้า")));

        c.mend(r);
        ASSERT_EQ(r.build(), prepare::kDone) << r.err.toStdString();
        EXPECT_EQ(r.listRows(kBuiltRows), kBuilt);
        EXPECT_EQ(r.listRows(QStringLiteral("Select PartNO From PriceList")), QStringList());
    }
}

// The split fills tables by position alone: in chunks of one, the two built rows outgrow a
// PriceList_Count that lists table 1 only. The build still succeeds, and the runner names the
// filled table that no run reads, with the rows it holds, until PriceList_Count lists it.
TEST(PrepareRunner, WarnsOfAFilledTableThatPriceListCountDoesNotList) {
    const std::vector<prepare::Operation> inChunksOfOne { { "BuildPriceList", "", true, false,
        [](frmKordane& f) {
            return prepare::UnlistedFilledTables(f, prepare::BuildPriceList(f, 1));
        } } };
    Runner r;
    makeFiles(r, twoSheets());
    r.exec(QStringLiteral("Delete From PriceList_Count Where Count = 2"));
    {
        // unlisted too, but beyond the split's reach: never named
        ado::Connection cn;
        storekit::OpenFile(cn, r.priceList, kListPassword);
        storekit::CreateTable(cn, QStringLiteral("PriceList_3"), storekit::PriceRowTableColumns());
        storekit::InsertPriceRow(cn, QStringLiteral("PriceList_3"),
            storekit::MakePriceRow(QStringLiteral("1"), QStringLiteral("OLD"), {}, {}, 1, 1));
    }
    const QString second = QStringLiteral("Select PartNO From PriceList_2");
    auto warning = [](const char* rows) {
        return QStringLiteral("kordane-prepare: warning: PriceList_2 holds %1, but a run will not "
                              "read it until PriceList_Count lists it\n")
            .arg(QLatin1String(rows));
    };

    // the warning uses the list the build read: PriceList_Count is read once
    int countReads = 0;
    ado::SetEventHook([&countReads](const ado::TraceEvent& e) {
        if (e.kind == ado::TraceKind::Open && e.text.contains(QStringLiteral("PriceList_Count")))
            ++countReads;
    });
    ASSERT_EQ(r.build({}, true, inChunksOfOne), prepare::kDone) << r.err.toStdString();
    ado::SetEventHook(nullptr);
    EXPECT_EQ(countReads, 1);
    EXPECT_EQ(r.err, warning("1 row"));
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("เสร็จแล้วจ้า\n")));
    EXPECT_EQ(r.listRows(QStringLiteral("Select PartNO From PriceList_1")),
        QStringList { QStringLiteral("15601-87703") });
    EXPECT_EQ(r.listRows(second), QStringList { QStringLiteral("N-1") });

    // nothing empties it, so the next build piles its rows on
    ASSERT_EQ(r.build({}, true, inChunksOfOne), prepare::kDone);
    EXPECT_EQ(r.err, warning("2 rows"));
    EXPECT_EQ(r.listRows(second), (QStringList { QStringLiteral("N-1"), QStringLiteral("N-1") }));

    r.exec(QStringLiteral("Insert Into PriceList_Count Values( 2 )"));
    ASSERT_EQ(r.build({}, true, inChunksOfOne), prepare::kDone);
    EXPECT_EQ(r.err, QString());
    EXPECT_EQ(r.listRows(second), QStringList { QStringLiteral("N-1") });
}

TEST(PrepareRunner, UsageErrorsOpenNothing) {
    Runner r;
    makeFiles(r, twoSheets());
    const QFileInfo before(r.priceList);
    const QStringList cases[] = {
        { QStringLiteral("--price-list"), r.priceList, QStringLiteral("NoSuchOperation") },
        { QStringLiteral("--price-list"), r.priceList },
        { QStringLiteral("--price-list"), r.priceList, QStringLiteral("--bogus"),
            QStringLiteral("BuildPriceList") },
        { QStringLiteral("--yes"), QStringLiteral("BuildPriceList"),
            QStringLiteral("--price-list") },
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        EXPECT_EQ(r.run(args), prepare::kUsage);
        EXPECT_TRUE(r.err.contains(QStringLiteral("Usage: kordane-prepare")));
        EXPECT_TRUE(r.out.isEmpty());
    }
    const QFileInfo after(r.priceList);
    EXPECT_EQ(after.lastModified(), before.lastModified());
    EXPECT_FALSE(QFileInfo::exists(r.priceList + QStringLiteral("-wal")));

    EXPECT_EQ(r.run({ QStringLiteral("--help") }), prepare::kDone);
    EXPECT_TRUE(r.out.contains(QStringLiteral("BuildPriceList [rewrites]")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("ClearSplitPriceLists [rewrites]")));
}

// A file that is not there: where it was looked for, and how to name another, without the usage.
TEST(PrepareRunner, AMissingFileSaysWhereItWasLookedFor) {
    Runner r;
    makeFiles(r, twoSheets());
    const QString absent = r.dir + QStringLiteral("/PriceList_NONE.mdb");
    const QString elsewhere = testenv::TempDir(); // started there: the start-up paths miss
    const QString hint
        = QStringLiteral("kordane-prepare: --price-list FILE and --store FILE name other files\n");
    const struct {
        const char* name;
        QStringList args;
        QString err;
    } cases[] = {
        { "the start-up path", { QStringLiteral("--yes"), QStringLiteral("BuildPriceList") },
            QStringLiteral("kordane-prepare: file not found: E:\\DataVelandor\\PriceList_VURE.mdb, "
                           "looked for as %1/E:/DataVelandor/PriceList_VURE.mdb\n")
                    .arg(elsewhere)
                + hint },
        { "a price list named",
            { QStringLiteral("--yes"), QStringLiteral("--price-list"), absent,
                QStringLiteral("BuildPriceList") },
            QStringLiteral("kordane-prepare: file not found: %1, looked for as %1\n").arg(absent)
                + hint },
        { "a store named",
            { QStringLiteral("--yes"), QStringLiteral("--price-list"), r.priceList,
                QStringLiteral("--store"), r.dir + QStringLiteral("/x/../None.accdb"),
                QStringLiteral("FillIsuzuKinds") },
            QStringLiteral("kordane-prepare: file not found: %1/x/../None.accdb, looked for as "
                           "%1/None.accdb\n")
                    .arg(r.dir)
                + hint },
    };
    const QString started = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(r.run(c.args), prepare::kUsage);
        EXPECT_EQ(r.err, c.err);
        EXPECT_TRUE(r.out.isEmpty());
    }
    QDir::setCurrent(started);
    EXPECT_FALSE(QFileInfo::exists(absent));
}

TEST(PrepareRunner, AsksBeforeRewritingTables) {
    Runner r;
    storekit::CreatePriceList(r.priceList,
        { { 1,
            { storekit::MakePriceRow(QStringLiteral("1"), QStringLiteral("OLD"),
                QStringLiteral("E"), QString(), 1) } } },
        kListPassword);
    const QStringList clear { QStringLiteral("--price-list"), r.priceList,
        QStringLiteral("ClearSplitPriceLists") };

    EXPECT_EQ(r.run(clear, QStringLiteral("n\n")), prepare::kFailed);
    EXPECT_TRUE(r.out.contains(QStringLiteral("Go on? [y/N]")));
    EXPECT_EQ(r.run(clear, QString()), prepare::kFailed);
    EXPECT_EQ(r.listRows(QStringLiteral("Select PartNO From PriceList_1")),
        QStringList { QStringLiteral("OLD") });

    EXPECT_EQ(r.run(clear, QStringLiteral("y\n")), prepare::kDone);
    EXPECT_EQ(r.listRows(QStringLiteral("Select PartNO From PriceList_1")), QStringList());
}

// What the runner makes ready for an operation that reads the store.
struct StoreSeen {
    int32_t brandId = -1;
    QString version;
    int storeState = 0;
};
StoreSeen gSeen;

TEST(PrepareRunner, OpensTheStoreForOperationsThatReadIt) {
    const std::vector<prepare::Operation> table {
        { "Look", "reads the store", false, true,
            [](frmKordane& f) -> std::vector<prepare::TableRows> {
                gSeen = { f.mBrandID, f.mStoreVersion, f.cnStore().State() };
                return {};
            } },
        { "Fail", "fails half-way", false, false,
            [](frmKordane& f) -> std::vector<prepare::TableRows> {
                f.Open(
                    f.rsList, f.cnPriceList(), QStringLiteral("Select Count From PriceList_Count"));
                throw rt::RunError(QStringLiteral("stopped here"));
            } },
    };
    Runner r;
    makeFiles(r, twoSheets());
    auto run = [&](const QStringList& args) {
        r.out.clear();
        r.err.clear();
        QString none;
        QTextStream o(&r.out), e(&r.err), in(&none);
        return prepare::RunPrepare(args, o, e, in, false, table);
    };
    const QStringList look { QStringLiteral("--price-list"), r.priceList, QStringLiteral("--store"),
        r.store, QStringLiteral("Look") };

    ASSERT_EQ(run(look), prepare::kDone) << r.err.toStdString();
    EXPECT_EQ(gSeen.brandId, 12);
    EXPECT_EQ(gSeen.version, QStringLiteral("V.31"));
    EXPECT_EQ(gSeen.storeState, 1);

    EXPECT_EQ(run({ QStringLiteral("--price-list"), r.priceList, QStringLiteral("--store"),
                  r.dir + QStringLiteral("/None.accdb"), QStringLiteral("Look") }),
        prepare::kUsage);
    EXPECT_TRUE(r.err.contains(QStringLiteral("None.accdb")));

    storekit::CreateStore(r.store, { QStringLiteral("V.31"), kStorePassword, {}, {}, {} });
    EXPECT_EQ(run(look), prepare::kFailed);
    EXPECT_TRUE(r.err.contains(QStringLiteral("VURE"))) << r.err.toStdString();

    EXPECT_EQ(run({ QStringLiteral("--price-list"), r.priceList, QStringLiteral("Fail") }),
        prepare::kFailed);
    EXPECT_EQ(r.err, QStringLiteral("ไม่สามรถบันทึกได้: stopped here\n"));
}

} // namespace
