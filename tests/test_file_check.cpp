// The existence check of the two paths: wildcards as the file search takes them, every other
// character literal, case as the file system tells it; and what the UpDate button shows when
// the check refuses a path.
#include "app/frmKordane.h"
#include "platform/runtime/runtime.h"
#include "storekit/classic.h"
#include "support/fake_window.h"
#include "support/odbc_env.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

TEST(FileCheck, AcceptsWhatTheOpenFinds) {
    const QString dir = testenv::TempDir();
    touch(dir + QStringLiteral("/PriceList_VURE.mdb"));
    touch(dir + QStringLiteral("/PriceList_VURE[1].mdb"));
    touch(dir + QStringLiteral("/Store1.mdb"));
    touch(dir + QStringLiteral("/.hidden.mdb"));
    QDir(dir).mkdir(QStringLiteral("Folder.mdb"));
    QDir(dir).mkdir(QStringLiteral("Sub"));
    touch(dir + QStringLiteral("/Sub/Velandor.accdb"));
    struct Case {
        const char* pattern;
        bool found;
    };
    const Case cases[] = {
        { "PriceList_VURE.mdb", true },
        { "pricelist_vure.mdb", false }, // wrong case
        { "PriceList_VURE.MDB", false },
        { "PriceList_VURE[1].mdb", true }, // brackets stand for themselves
        { "Store[1].mdb", false }, // not a class matching Store1.mdb
        { "PriceList_VURE[12].mdb", false },
        { "PriceList_*.mdb", true },
        { "*.MDB", false },
        { "Store?.mdb", true },
        { "Store??.mdb", false },
        { "P?iceList_VURE[1].mdb", true },
        { "Folder.mdb", false }, // a folder is not a file
        { "Fold*", false },
        { "Missing.mdb", false },
        { "Nowhere/PriceList_VURE.mdb", false }, // a missing folder
        { "sub/Velandor.accdb", false }, // the folder in the wrong case
        { "Sub/Velandor.accdb", true },
        { "Sub\\Velandor.accdb", true }, // the window's separator
        { "S*/Velandor.accdb", false }, // a wildcard names no folder
        { ".hidden.mdb", false },
        { "Sub/", false },
    };
    for (const Case& c : cases) {
        const QString path = dir + QLatin1Char('/') + QLatin1String(c.pattern);
        EXPECT_EQ(rt::FileSearchFinds(path), c.found) << c.pattern;
    }
}

// A path the check refuses ends with the step's "not found" message and a ready window, never
// with a failed open that leaves the button disabled.
TEST(FileCheck, RefusedPathsShowTheStepsMessage) {
    const QString dir = testenv::TempDir();
    const QString priceList = dir + QStringLiteral("/PriceList_VURE[1].mdb");
    const QString store = dir + QStringLiteral("/Velandor.accdb");
    storekit::CreatePriceList(priceList, {}, QStringLiteral("PLN394"));
    storekit::CreateClassicStore(
        store, QStringLiteral("V.31"), 12, {}, QStringLiteral("KWZ730258"));
    storekit::CreatePriceList(
        dir + QStringLiteral("/PriceList_VURE1.mdb"), {}, QStringLiteral("PLN394"));
    QDir(dir).mkdir(QStringLiteral("Folder.accdb"));
    const QString listMissing = QStringLiteral("ที่จัดเก็บข้อมูล  PriceList_VURE.mdb  หาไม่พบ");
    const QString storeMissing = QStringLiteral("ที่จัดเก็บข้อมูล  Velandor.accdb  หาไม่พบ");
    struct Case {
        const char* what;
        QString priceList, store, message;
    };
    const Case cases[] = {
        { "brackets as a class", dir + QStringLiteral("/PriceList_VURE[0-9].mdb"), store,
            listMissing },
        { "price list in the wrong case", dir + QStringLiteral("/pricelist_vure[1].mdb"), store,
            listMissing },
        { "a folder for the price list", dir, store, listMissing },
        { "store in the wrong case", priceList, dir + QStringLiteral("/VELANDOR.accdb"),
            storeMissing },
        { "a folder for the store", priceList, dir + QStringLiteral("/Folder.accdb"),
            storeMissing },
        { "a missing folder", priceList, dir + QStringLiteral("/none/Velandor.accdb"),
            storeMissing },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FormFixture fx;
        fx.useDesktopStore(c.priceList, c.store);
        fx.form.cmdUpDate_Click();
        ASSERT_EQ(fx.window.messages.size(), 1u);
        EXPECT_EQ(fx.window.messages[0].text, c.message);
        EXPECT_EQ(fx.window.messages[0].style, win::MsgStyle::Exclamation);
        EXPECT_EQ(fx.window.pointer, win::Arrow);
        EXPECT_TRUE(fx.window.upDateEnabled);
    }

    // the literal name with brackets is found and opened: the run goes through
    FormFixture fx;
    fx.useDesktopStore(priceList, store);
    fx.form.cmdUpDate_Click();
    ASSERT_EQ(fx.window.messages.size(), 1u);
    EXPECT_EQ(fx.window.messages[0].text, QStringLiteral("เสร็จแล้วจ้า"));
    EXPECT_TRUE(fx.window.upDateEnabled);
}

} // namespace
