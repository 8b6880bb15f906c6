// The UpDate handler's exits, the connection strings and the store passwords.
#include "app/frmKordane.h"
#include "storekit/classic.h"
#include "support/fake_window.h"
#include "support/odbc_env.h"

#include <gtest/gtest.h>

using win::Box;
using win::MsgStyle;

namespace {

struct Files {
    QString dir = testenv::TempDir();
    QString priceList = dir + QStringLiteral("/PriceList_VURE.mdb");
    QString store = dir + QStringLiteral("/Velandor.accdb");
};

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

TEST(Handler, BrandLookupOrder) {
    Files files;
    struct Case {
        QString version;
        std::vector<storekit::BrandKey> brands, ptaBrands;
        int expected;
    };
    const Case cases[] = {
        { QStringLiteral("V.31"), { { 7, QStringLiteral("VURE_U") } }, {}, 7 },
        { QStringLiteral("V.31"),
            { { 7, QStringLiteral("VURE_U") }, { 9, QStringLiteral("VURE") } }, {}, 9 },
        { QStringLiteral("P.66 (Bar)"), { { 7, QStringLiteral("VURE") } }, {}, 0 },
        { QStringLiteral("P.68 (Bar)"), {}, { { 4, QStringLiteral("VURE") } }, 4 },
    };
    for (const auto& c : cases) {
        storekit::StoreSetup setup;
        setup.version = c.version;
        setup.brands = c.brands;
        setup.ptaBrands = c.ptaBrands;
        storekit::CreateStore(files.store, setup);
        FormFixture fx;
        fx.useDesktopStore(files.priceList, files.store);
        fx.form.OpenStoreConnection();
        ASSERT_EQ(fx.form.CheckStoreVersion(), 1);
        fx.form.FindBrand();
        EXPECT_EQ(fx.form.mBrandID, c.expected) << c.version.toStdString();
        EXPECT_FALSE(fx.form.rsLookup.isOpen());
    }
}

TEST(Handler, FailurePathRollsBackAndLeavesTheButtonDisabled) {
    Files files;
    storekit::CreatePriceList(files.priceList, {}, QStringLiteral("PLN394"));
    storekit::CreateClassicStore(
        files.store, QStringLiteral("V.31"), 12, {}, QStringLiteral("KWZ730258"));
    {
        ado::Connection cn;
        storekit::OpenFile(cn, files.store, QStringLiteral("KWZ730258"));
        cn.Execute(QStringLiteral("DROP TABLE PriceList")); // the run's unguarded drop fails
    }
    FormFixture fx;
    fx.useDesktopStore(files.priceList, files.store);
    fx.form.cmdUpDate_Click();
    ASSERT_EQ(fx.window.messages.size(), 1u);
    EXPECT_EQ(fx.window.messages[0].text, QStringLiteral("ไม่สามรถบันทึกได้"));
    EXPECT_EQ(fx.window.messages[0].style, MsgStyle::None);
    EXPECT_EQ(fx.window.pointer, win::ArrowHourglass);
    EXPECT_FALSE(fx.window.upDateEnabled);
    EXPECT_EQ(fx.window.text(Box::txtQTY), QStringLiteral("กำลังย้าน  Price VURE  ชั่วคราว"));
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
