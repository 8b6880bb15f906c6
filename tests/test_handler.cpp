// The UpDate handler's exits, the connection strings and the store passwords.
#include "app/frmKordane.h"
#include "platform/runtime/text.h"
#include "storekit/classic.h"
#include "support/fake_window.h"
#include "support/odbc_env.h"
#include "support/ordinary_user.h"
#include "support/query_rows.h"

#include <functional>
#include <gtest/gtest.h>
#include <iostream>

using win::Box;
using win::MsgStyle;

namespace {

using Files = testenv::RunFiles;

TEST(Handler, PathChecksShowTheirMessagesAndRestore) {
    Files files;
    storekit::CreatePriceList(files.priceList, {}, QStringLiteral("PLN394"));
    struct Case {
        QString priceList, store;
        QString message;
    };
    const Case cases[] = {
        { QStringLiteral("   "), files.store,
            QStringLiteral("ยังมิได้กำหนดที่อยู่ข้อมูล  PriceList_VURE.mdb") },
        { files.dir + QStringLiteral("/none.mdb"), files.store,
            QStringLiteral("ที่จัดเก็บข้อมูล  PriceList_VURE.mdb  หาไม่พบ") },
        { files.priceList, QStringLiteral("  "), QStringLiteral("ยังมิได้กำหนดที่อยู่ข้อมูล") },
        { files.priceList, files.dir + QStringLiteral("/none.accdb"),
            QStringLiteral("ที่จัดเก็บข้อมูล  Velandor.accdb  หาไม่พบ") },
        { files.priceList, files.dir + QStringLiteral("/none.ACCDB"),
            QStringLiteral("ที่จัดเก็บข้อมูล  Velandor.mdb  หาไม่พบ") },
    };
    for (const auto& c : cases) {
        FormFixture fx;
        fx.useDesktopStore(c.priceList, c.store);
        fx.form.cmdUpDate_Click();
        ASSERT_EQ(fx.window.messages.size(), 1u) << c.message.toStdString();
        EXPECT_EQ(fx.window.messages[0].text, c.message);
        EXPECT_EQ(fx.window.messages[0].style, MsgStyle::Exclamation);
        EXPECT_EQ(fx.window.pointer, win::Arrow);
        EXPECT_TRUE(fx.window.upDateEnabled);
    }
}

TEST(Handler, WrongVersionAndMissingBrandAskAndLeaveTheWindowReady) {
    Files files;
    storekit::CreatePriceList(files.priceList, {}, QStringLiteral("PLN394"));
    FormFixture fx;
    fx.useDesktopStore(files.priceList, files.store);

    storekit::CreateClassicStore(
        files.store, QStringLiteral("V.31"), 12, {}, QStringLiteral("KWZ730258"));
    {
        ado::Connection cn;
        storekit::OpenFile(cn, files.store, QStringLiteral("KWZ730258"));
        cn.Execute(QStringLiteral("Update System Set Ver = 'v.31'"));
    }
    fx.form.cmdUpDate_Click();
    ASSERT_EQ(fx.window.messages.size(), 1u);
    EXPECT_EQ(fx.window.messages[0].text,
        QStringLiteral("กำหนด Vertion ของฐานข้อมูลผิด  ให้ติดต่อผู้ติดตั้งระบบ  หรือ  ผู้จำหน่าย Ostreka"));
    EXPECT_EQ(fx.window.messages[0].style, MsgStyle::Question);
    EXPECT_EQ(fx.form.cnStore().State(), 0);
    EXPECT_EQ(fx.form.cnPriceList().State(), 0);
    EXPECT_TRUE(fx.window.upDateEnabled);

    // the same window, another store: the brand stored only with "_U" is found; a store without
    // it is reported
    storekit::StoreSetup setup;
    setup.version = QStringLiteral("  V.33 ");
    setup.brands = { { 5, QStringLiteral("OTHER") } };
    storekit::CreateStore(files.store, setup);
    fx.form.cmdUpDate_Click();
    ASSERT_EQ(fx.window.messages.size(), 2u);
    EXPECT_EQ(fx.window.messages[1].text,
        QStringLiteral("ไม่สามารถหา Files VUREในฐานข้อมูล ไม่สามารถบันทึกได้"));
    EXPECT_EQ(fx.window.messages[1].style, MsgStyle::Question);
    EXPECT_EQ(fx.form.mStoreVersion, QStringLiteral("V.33"));
    EXPECT_EQ(fx.form.mBrandID, 0);
    EXPECT_TRUE(fx.window.upDateEnabled);
}

// The 28 known versions, exact and case-sensitive after trimming; the first row of System counts.
TEST(Handler, StoreVersionIsKnownOnlyWhenExactlyOneOfTheList) {
    Files files;
    storekit::CreateClassicStore(
        files.store, QStringLiteral("V.31"), 12, {}, QStringLiteral("KWZ730258"));
    ado::Connection cn;
    storekit::OpenFile(cn, files.store, QStringLiteral("KWZ730258"));
    FormFixture fx;
    fx.useDesktopStore(files.priceList, files.store);
    auto check = [&](const QString& ver) {
        cn.Execute(QStringLiteral("Update System Set Ver = '") + ver + QStringLiteral("'"));
        fx.form.OpenStoreConnection();
        const int16_t known = fx.form.CheckStoreVersion();
        fx.form.cnStore().Close();
        return known;
    };
    for (const char* ver : { "Ver 3.1 SQL", "V.31", "V.32", "V.33", "V.34", "V.41", "V.42", "V.43",
             "V.45", "V.46 (Bar)", "V.51", "V.61", "P.42", "P.43", "P.44 (Bar)", "P.45 (Bar)",
             "P.46 (Bar)", "P.47001 (Bar)", "P.48 (Bar)", "P.49 (Bar)", "P.52", "P.61 (Bar)",
             "P.62 (Bar)", "P.64 (Bar)", "P.65 (Bar)", "P.66 (Bar)", "P.68 (Bar)", "D.47 (Bar)" }) {
        EXPECT_EQ(check(QLatin1String(ver)), 1) << ver;
        EXPECT_EQ(fx.form.mStoreVersion, QLatin1String(ver));
    }
    EXPECT_EQ(check(QStringLiteral(" V.33 ")), 1);
    EXPECT_EQ(fx.form.mStoreVersion, QStringLiteral("V.33"));
    for (const char* ver : { "v.33", "P.47 (Bar)", "P.66(Bar)", "V.33.", "", "VER 3.1 SQL" }) {
        EXPECT_EQ(check(QLatin1String(ver)), 0) << ver;
        EXPECT_EQ(fx.form.mStoreVersion, rt::Trim(QLatin1String(ver)));
    }

    cn.Execute(QStringLiteral("Update System Set Ver = 'V.33'"));
    cn.Execute(QStringLiteral("Insert Into System (Ver) Values ('nonsense')"));
    fx.form.OpenStoreConnection();
    EXPECT_EQ(fx.form.CheckStoreVersion(), 1);
    fx.form.cnStore().Close();

    // no row: unknown, and the version of the last run is kept
    cn.Execute(QStringLiteral("Delete From System"));
    fx.form.OpenStoreConnection();
    EXPECT_EQ(fx.form.CheckStoreVersion(), 0);
    EXPECT_EQ(fx.form.mStoreVersion, QStringLiteral("V.33"));
    EXPECT_FALSE(fx.form.rsLookup.isOpen());
    fx.form.cnStore().Close();
    cn.Close();
}

TEST(Handler, BrandLookupOrder) {
    Files files;
    const QString version = QStringLiteral("Select Ver From System ");
    const QString plain = QStringLiteral("Select BrandID From Brand Where BrandName = 'VURE'");
    const QString withU = QStringLiteral("Select BrandID From Brand Where BrandName = 'VURE_U'");
    const QString pta = QStringLiteral("Select BrandID From Pta_BrandID Where BrandCar = 'VURE'");
    struct Case {
        QString version;
        std::vector<storekit::BrandKey> brands, ptaBrands;
        int expected;
        QStringList statements;
    };
    const Case cases[] = {
        { QStringLiteral("V.31"), { { 7, QStringLiteral("VURE_U") } }, {}, 7,
            { version, plain, withU } },
        { QStringLiteral("V.31"),
            { { 7, QStringLiteral("VURE_U") }, { 9, QStringLiteral("VURE") } }, {}, 9,
            { version, plain } },
        { QStringLiteral("V.31"), { { 3, QStringLiteral("UD") } }, {}, 0,
            { version, plain, withU } }, // the name UD is only tried for UD_VOLVO
        { QStringLiteral("P.66 (Bar)"), { { 7, QStringLiteral("VURE") } }, {}, 0,
            { version, pta } },
        { QStringLiteral("P.68 (Bar)"), {}, { { 4, QStringLiteral("VURE") } }, 4,
            { version, pta } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version.toStdString());
        storekit::StoreSetup setup;
        setup.version = c.version;
        setup.brands = c.brands;
        setup.ptaBrands = c.ptaBrands;
        storekit::CreateStore(files.store, setup);
        FormFixture fx;
        fx.useDesktopStore(files.priceList, files.store);
        fx.form.OpenStoreConnection();
        QStringList statements;
        ado::SetTraceHook([&](const QString& sql) { statements << sql; });
        const int16_t known = fx.form.CheckStoreVersion();
        fx.form.FindBrand();
        ado::SetTraceHook(nullptr);
        ASSERT_EQ(known, 1);
        EXPECT_EQ(fx.form.mBrandID, c.expected);
        EXPECT_EQ(statements.join(QLatin1Char('\n')).toStdString(),
            c.statements.join(QLatin1Char('\n')).toStdString());
        EXPECT_FALSE(fx.form.rsLookup.isOpen());
    }
}

// A V.31 store and a price list of those tables; the statements then change the store.
void MakeFiles(
    const Files& files, const storekit::PriceTables& tables, const QStringList& storeStatements) {
    storekit::CreatePriceList(files.priceList, tables, QStringLiteral("PLN394"));
    storekit::CreateClassicStore(
        files.store, QStringLiteral("V.31"), 12, {}, QStringLiteral("KWZ730258"));
    ado::Connection cn;
    storekit::OpenFile(cn, files.store, QStringLiteral("KWZ730258"));
    for (const QString& statement : storeStatements)
        cn.Execute(statement);
}

TEST(Handler, FailurePathRollsBackAndLeavesTheButtonDisabled) {
    Files files;
    // a view in the staging table's place: its drop and its create both fail
    MakeFiles(files, {},
        { QStringLiteral("DROP TABLE PriceList"),
            QStringLiteral("CREATE VIEW PriceList AS SELECT 1 AS BrandID") });
    FormFixture fx;
    fx.useDesktopStore(files.priceList, files.store);
    fx.form.cmdUpDate_Click();
    ASSERT_EQ(fx.window.messages.size(), 1u);
    EXPECT_EQ(fx.window.messages[0].text, kFailedMessage);
    EXPECT_EQ(fx.window.messages[0].style, MsgStyle::None);
    EXPECT_EQ(fx.window.pointer, win::ArrowHourglass);
    EXPECT_FALSE(fx.window.upDateEnabled);
    EXPECT_EQ(fx.window.text(Box::txtQTY), QStringLiteral("กำลังย้าน  Price VURE  ชั่วคราว"));
    // the database's own words, for a terminal
    ASSERT_EQ(fx.window.causes.size(), 1);
    EXPECT_TRUE(fx.window.causes[0].contains(QStringLiteral("view PriceList already exists")))
        << fx.window.causes[0].toStdString();
}

// A staging table lost (to a full disk, say) is made anew by the next run.
TEST(Handler, StoreWithoutStagingTableCompletesTheRun) {
    Files files;
    MakeFiles(files,
        { { 1,
            { storekit::MakePriceRow(QStringLiteral("0"), QStringLiteral("N-1"),
                QStringLiteral("CAP"), QString(), 20) } } },
        { QStringLiteral("DROP TABLE PriceList") });
    FormFixture fx;
    fx.useDesktopStore(files.priceList, files.store);
    fx.form.cmdUpDate_Click();
    ASSERT_EQ(fx.window.messages.size(), 1u);
    EXPECT_EQ(fx.window.messages[0].text, QStringLiteral("เสร็จแล้วจ้า"));
    EXPECT_EQ(testenv::QueryRows(files.store, QStringLiteral("Select Kind, PartNO From Pta12"), {},
                  QStringLiteral("KWZ730258")),
        QStringList { QStringLiteral("0|N-1") });
}

// When the staging table can be neither dropped nor made, the line for the terminal gives the
// drop's cause first: the create's "already exists" alone hides a read-only store or a lock.
TEST(Handler, FailedDropAndCreateTellTheDropsCauseFirst) {
    const QStringList view { QStringLiteral("DROP TABLE PriceList"),
        QStringLiteral("CREATE VIEW PriceList AS SELECT 1 AS BrandID") };
    struct Case {
        const char* what;
        QStringList storeStatements;
        bool sqlServer, readOnly;
        QString cause;
    };
    const Case cases[] = {
        { "a view in its place", view, false, false,
            QStringLiteral("Unable to execute statement: use DROP VIEW to delete view PriceList; "
                           "Unable to execute statement: view PriceList already exists") },
        { "a view in its place, SQL server", view, true, false,
            QStringLiteral("QODBC: Unable to execute statement: [SQLite]use DROP VIEW to delete "
                           "view PriceList (1); QODBC: Unable to execute statement: [SQLite]view "
                           "PriceList already exists (1)") },
        { "a store the user may only read", {}, false, true,
            QStringLiteral("Unable to fetch row: attempt to write a readonly database; Unable to "
                           "execute statement: table PriceList already exists") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Files files;
        MakeFiles(files, {}, c.storeStatements);
        FormFixture fx;
        if (c.sqlServer)
            fx.useSqlServerStore(files.priceList, files.store);
        else
            fx.useDesktopStore(files.priceList, files.store);
        if (c.readOnly) {
            testenv::OnlyTheStoreUnwritable({ files.dir }, { files.priceList }, files.store);
            testenv::AsOrdinaryUser user;
            if (!user.ordinary()) {
                std::cout << "[ NOTE ] " << c.what << ": root with no user \"nobody\"\n";
                continue;
            }
            fx.form.cmdUpDate_Click();
        } else {
            fx.form.cmdUpDate_Click();
        }
        ASSERT_EQ(fx.window.messages.size(), 1u);
        EXPECT_EQ(fx.window.messages[0].text, kFailedMessage);
        EXPECT_EQ(fx.window.causes, QStringList { c.cause });
    }
}

// A failure that comes from a row of the price list names the table and the part besides the
// database's words; one that comes from no row keeps its line.
TEST(Handler, RowFailureNamesItsTableAndPart) {
    const QString longNumber = QStringLiteral("B-2") + QString(42, QLatin1Char('X'));
    struct Case {
        const char* what;
        QStringList priceListStatements, storeStatements;
        QString atPass2; // run on the price list as pass 2 starts
        QString cause;
    };
    const Case cases[] = {
        { "a price that is no number",
            { QStringLiteral("Update PriceList_3 Set Price = 'abc' Where PartNO = 'B-2'") }, {}, {},
            QStringLiteral("PriceList_3, part B-2: Type mismatch: 'abc' is not a number") },
        { "a Null", { QStringLiteral("Update PriceList_3 Set TName = Null Where PartNO = 'B-2'") },
            {}, {}, QStringLiteral("PriceList_3, part B-2: Invalid use of Null") },
        { "a part number longer than the store takes",
            { QStringLiteral("Update PriceList_3 Set PartNO = '%1' Where PartNO = 'B-2'")
                    .arg(longNumber) },
            {}, {},
            QStringLiteral(
                "PriceList_3, part %1: Unable to fetch row: The field PriceList.PartNO is too "
                "small to accept the amount of data (40 characters)")
                .arg(longNumber) },
        { "a replacement number longer than the store takes",
            { QStringLiteral("Update PriceList_3 Set AltNO_1 = '%1' Where PartNO = 'B-2'")
                    .arg(longNumber) },
            {}, {},
            QStringLiteral(
                "PriceList_3, part B-2: Unable to fetch row: The field PriceList.AltNO_1 is "
                "too small to accept the amount of data (40 characters)") },
        { "a sale price that is no number in PriceListAll", {},
            { QStringLiteral("Update LastID Set LastID = Null") }, // both parts stay new
            QStringLiteral("Update PriceListAll Set Sale = 'x' Where PartNO = 'B-2'"),
            QStringLiteral("PriceListAll, part B-2: Type mismatch: 'x' is not a number") },
        { "a listed table that is missing",
            { QStringLiteral("Insert Into PriceList_Count Values( 4 )") }, {}, {},
            QStringLiteral("no such table: PriceList_4") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Files files;
        MakeFiles(files,
            { { 3,
                { storekit::MakePriceRow(QStringLiteral("0"), QStringLiteral("A-1"),
                      QStringLiteral("CAP"), QString(), 20),
                    storekit::MakePriceRow(QStringLiteral("0"), QStringLiteral("B-2"),
                        QStringLiteral("BOLT"), QString(), 30) } } },
            c.storeStatements);
        auto onPriceList = [&](const QStringList& statements) {
            ado::Connection cn;
            storekit::OpenFile(cn, files.priceList, QStringLiteral("PLN394"));
            for (const QString& statement : statements)
                cn.Execute(statement);
        };
        onPriceList(c.priceListStatements);
        FormFixture fx;
        fx.useDesktopStore(files.priceList, files.store);
        bool pass2 = false;
        fx.window.onDoEvents = [&] {
            if (c.atPass2.isEmpty() || pass2
                || fx.window.qtyHistory.count(QStringLiteral("กำลังย้ายข้อมูล  VURE")) < 2)
                return;
            pass2 = true;
            onPriceList({ c.atPass2 });
        };
        fx.form.cmdUpDate_Click();
        ASSERT_EQ(fx.window.messages.size(), 1u);
        EXPECT_EQ(fx.window.messages[0].text, kFailedMessage);
        EXPECT_EQ(fx.window.causes, QStringList { c.cause });
    }
}

// A fake window that also notes what stood while each message box was up.
struct WatchedWindow : FakeWindow {
    struct AtMessage {
        int pointer;
        bool enabled;
        int priceListState, storeState;
    };
    frmKordane* form = nullptr;
    std::vector<AtMessage> atMessage;
    void msgBox(const QString& t, MsgStyle s) override {
        FakeWindow::msgBox(t, s);
        atMessage.push_back(
            { pointer, upDateEnabled, form->cnPriceList().State(), form->cnStore().State() });
    }
};

// Every exit: its one message comes while the window is busy, after the connections it closes
// are closed; the window is ready again only after the box, except on the failure path.
TEST(Handler, EachExitShowsItsMessageThenRestores) {
    const QString failed = QStringLiteral("ไม่สามรถบันทึกได้");
    struct Case {
        const char* what;
        std::function<void(const Files&, WatchedWindow&)> arrange;
        QString message;
        int priceListState, storeState; // at the message
        bool ready; // afterwards
    };
    auto execute = [](const Files& f, const char* statement) {
        ado::Connection cn;
        storekit::OpenFile(cn, f.store, QStringLiteral("KWZ730258"));
        cn.Execute(QLatin1String(statement));
    };
    const Case cases[] = {
        { "price list missing",
            [](const Files& f, WatchedWindow& w) {
                w.texts[Box::txtPriceList] = f.dir + QStringLiteral("/none.mdb");
            },
            QStringLiteral("ที่จัดเก็บข้อมูล  PriceList_VURE.mdb  หาไม่พบ"), 0, 0, true },
        { "wrong version",
            [&](const Files& f, WatchedWindow&) { execute(f, "Update System Set Ver = 'V.3'"); },
            QStringLiteral("กำหนด Vertion ของฐานข้อมูลผิด  ให้ติดต่อผู้ติดตั้งระบบ  หรือ  ผู้จำหน่าย Ostreka"), 0,
            0, true },
        { "brand missing",
            [&](const Files& f, WatchedWindow&) {
                execute(f, "Update Brand Set BrandName = 'OTHER'");
            },
            QStringLiteral("ไม่สามารถหา Files VUREในฐานข้อมูล ไม่สามารถบันทึกได้"), 0, 0, true },
        { "completed", [](const Files&, WatchedWindow&) {}, QStringLiteral("เสร็จแล้วจ้า"), 0, 0,
            true },
        { "run fails: both connections stay open",
            [&](const Files& f, WatchedWindow&) {
                execute(f, "DROP TABLE PriceList");
                execute(f, "CREATE VIEW PriceList AS SELECT 1 AS BrandID");
            },
            failed, 1, 1, false },
        { "a wildcard path passes the check, its open fails",
            [](const Files& f, WatchedWindow& w) {
                w.texts[Box::txtPriceList] = f.dir + QStringLiteral("/PriceList_*.mdb");
            },
            failed, 0, 0, false },
        { "SQL server: the store path is not checked, the store fails at the open",
            [](const Files& f, WatchedWindow& w) {
                testenv::RegisterSqlServerDriver();
                w.access = false;
                w.texts[Box::txtDataVelandor] = f.dir + QStringLiteral("/none.accdb");
                w.texts[Box::txtdbq] = f.dir + QStringLiteral("/none/sql.db");
            },
            failed, 1, 0, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Files files;
        storekit::CreatePriceList(files.priceList, {}, QStringLiteral("PLN394"));
        storekit::CreateClassicStore(
            files.store, QStringLiteral("V.31"), 12, {}, QStringLiteral("KWZ730258"));
        WatchedWindow window;
        frmKordane form(window);
        window.form = &form;
        form.Form_Load();
        window.texts[Box::txtPriceList] = files.priceList;
        window.texts[Box::txtDataVelandor] = files.store;
        c.arrange(files, window);
        form.cmdUpDate_Click();
        ASSERT_EQ(window.messages.size(), 1u);
        EXPECT_EQ(window.messages[0].text.toStdString(), c.message.toStdString());
        const auto& at = window.atMessage[0];
        EXPECT_EQ(at.pointer, win::ArrowHourglass);
        EXPECT_FALSE(at.enabled);
        EXPECT_EQ(at.priceListState, c.priceListState);
        EXPECT_EQ(at.storeState, c.storeState);
        EXPECT_EQ(window.pointer, c.ready ? win::Arrow : win::ArrowHourglass);
        EXPECT_EQ(window.upDateEnabled, c.ready);
    }
}

// The price list is opened on the path that passed the check, even when the operator changes
// the box while the step text is being shown.
TEST(Handler, OpensThePriceListThatPassedTheCheck) {
    Files files;
    storekit::CreatePriceList(files.priceList, {}, QStringLiteral("PLN394"));
    storekit::CreateClassicStore(
        files.store, QStringLiteral("V.31"), 12, {}, QStringLiteral("KWZ730258"));
    FormFixture fx;
    fx.useDesktopStore(QStringLiteral("  ") + files.priceList, files.store);
    fx.window.onDoEvents = [&] {
        fx.window.texts[Box::txtPriceList] = files.dir + QStringLiteral("/typed-meanwhile.mdb");
    };
    fx.form.cmdUpDate_Click();
    ASSERT_EQ(fx.window.messages.size(), 1u);
    EXPECT_EQ(fx.window.messages[0].text, QStringLiteral("เสร็จแล้วจ้า"));
    EXPECT_EQ(fx.form.cnPriceList().connectionString(),
        QStringLiteral("driver={Microsoft Access Driver (*.mdb, *.accdb)};dbq=") + files.priceList
            + QStringLiteral(";UID=admin;PWD=PLN394"));
    EXPECT_TRUE(fx.window.upDateEnabled);
}

TEST(Connections, StringsFollowTheStorePathAndTheSecondPasswordIsTried) {
    Files files;
    FormFixture fx;
    // SQL server selected, store path kept: the price list still takes the accdb driver
    fx.useSqlServerStore(QStringLiteral(" x.mdb "), QStringLiteral("db"));
    fx.window.texts[Box::txtDataVelandor] = QStringLiteral("E:\\DataVelandor\\Velandor.accdb");
    fx.window.texts[Box::txtpwd] = QStringLiteral("pw ");
    EXPECT_THROW(fx.form.SetUpPriceListConnection(), rt::RunError);
    EXPECT_EQ(fx.form.cnPriceList().connectionString(),
        QStringLiteral(
            "driver={Microsoft Access Driver (*.mdb, *.accdb)};dbq=x.mdb;UID=admin;PWD=PLN394"));
    EXPECT_EQ(fx.form.cnPriceList().commandTimeout(), 20);
    fx.window.texts[Box::txtDataVelandor].clear();
    fx.form.releaseStore();
    FormFixture fx2;
    fx2.useSqlServerStore(QStringLiteral("x.mdb"), QStringLiteral("db"));
    fx2.window.texts[Box::txtDataVelandor].clear();
    EXPECT_THROW(fx2.form.SetUpPriceListConnection(), rt::RunError);
    EXPECT_EQ(fx2.form.cnPriceList().connectionString(),
        QStringLiteral("driver={Microsoft Access Driver (*.mdb)};dbq=x.mdb;UID=admin;PWD=PLN394"));

    fx.window.texts[Box::txtdbq] = files.dir + QStringLiteral("/sql.db");
    storekit::CreateEmptyFile(files.dir + QStringLiteral("/sql.db"));
    fx.form.OpenStoreConnection();
    EXPECT_EQ(fx.form.cnStore().connectionString(),
        QStringLiteral("driver={SQL Server};server=localhost;uid=sa;pwd=pw ;database=") + files.dir
            + QStringLiteral("/sql.db;"));
    EXPECT_EQ(fx.form.cnStore().commandTimeout(), 100);
    EXPECT_EQ(fx.form.cnStore().mode(), 3);
    fx.form.cnStore().Close();

    // desktop stores: .mdb path with blanks, protected by the second password
    const QString mdb = files.dir + QStringLiteral("/Velandor.mdb");
    storekit::CreateEmptyFile(mdb, QStringLiteral("QTR584716"));
    FormFixture fx3;
    fx3.useDesktopStore(files.priceList, QStringLiteral("  ") + mdb + QStringLiteral(" "));
    fx3.form.OpenStoreConnection();
    EXPECT_EQ(fx3.form.cnStore().State(), 1);
    EXPECT_EQ(fx3.form.cnStore().connectionString(),
        QStringLiteral("driver={Microsoft Access Driver (*.mdb)};dbq=") + mdb
            + QStringLiteral(";UID=admin;PWD=QTR584716"));
    fx3.form.cnStore().Close();

    storekit::CreateEmptyFile(files.store, QStringLiteral("OTHER1"));
    FormFixture fx4;
    fx4.useDesktopStore(files.priceList, files.store);
    EXPECT_THROW(fx4.form.OpenStoreConnection(), rt::RunError);
    storekit::CreateEmptyFile(files.store, QStringLiteral("KWZ730258"));
    fx4.form.releaseStore();
    fx4.form.OpenStoreConnection();
    EXPECT_TRUE(fx4.form.cnStore().connectionString().endsWith(
        QStringLiteral(".accdb;UID=admin;PWD=KWZ730258")));
}

} // namespace
