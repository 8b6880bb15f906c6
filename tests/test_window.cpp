// The Qt window as it opens: captions, defaults, option group, masked password, grid set-up.
#include "app/qt/main_window.h"
#include "storekit/classic.h"

#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(MainWindowTest, OpensWithCaptionsDefaultsAndGrid) {
    MainWindow w;
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Brisvale VURE  1/4/2564"));
    auto* chk = qobject_cast<QCheckBox*>(w.control("chkLikelAt"));
    ASSERT_TRUE(chk);
    EXPECT_EQ(chk->text(), QStringLiteral("จัดระเบียบเบอร์แทน  VURE"));
    EXPECT_FALSE(chk->isChecked());
    EXPECT_TRUE(qobject_cast<QRadioButton*>(w.control("optAccess"))->isChecked());
    EXPECT_FALSE(qobject_cast<QRadioButton*>(w.control("optSQL"))->isChecked());
    EXPECT_EQ(
        w.text(win::Box::txtDataVelandor), QStringLiteral("E:\\DataVelandor\\Velandor.accdb"));
    EXPECT_EQ(
        w.text(win::Box::txtPriceList), QStringLiteral("E:\\DataVelandor\\PriceList_VURE.mdb"));
    for (auto b : { win::Box::txtServer, win::Box::txtuid, win::Box::txtpwd, win::Box::txtdbq,
             win::Box::txtQTY, win::Box::txtPartNO })
        EXPECT_TRUE(w.text(b).isEmpty());
    EXPECT_EQ(qobject_cast<QLineEdit*>(w.control("txtpwd"))->echoMode(), QLineEdit::Password);
    EXPECT_EQ(w.form().mBrandID, 0);
    EXPECT_TRUE(w.form().mStoreVersion.isEmpty());
    EXPECT_EQ(w.form().mUpdateNames, 1);

    // option group: one selected at a time
    qobject_cast<QRadioButton*>(w.control("optSQL"))->click();
    EXPECT_FALSE(w.optAccess());

    // geometry at 15 twips a pixel
    EXPECT_EQ(w.size(), QSize(1008, 693));
    EXPECT_EQ(w.control("msgDetail")->geometry(), QRect(16, 240, 969, 441));
    EXPECT_EQ(w.control("cmdUpDate")->geometry(), QRect(928, 176, 57, 49));

    const win::GridModel& g = w.grid();
    EXPECT_EQ(g.Cols(), 8);
    EXPECT_EQ(g.Rows(), 30);
    EXPECT_EQ(g.FixedCols(), 1);
    EXPECT_EQ(g.FixedRows(), 1);
    const int widths[] = { 1, 1200, 1200, 2700, 4645, 1800, 1300, 1300 };
    const int aligns[] = { -1, 1, 1, 1, 1, 1, -1, -1 };
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(g.ColWidth(c), widths[c]) << c;
        EXPECT_EQ(g.ColAlignment(c), aligns[c]) << c;
    }
    const QString titles[] = { QString(), QStringLiteral("       ลำดับ"),
        QStringLiteral("     สินค้าใหม่"), QStringLiteral("                      รหัสสินค้า"),
        QStringLiteral("                                               รายการ"),
        QStringLiteral("                  รุ่น"), QStringLiteral("       ราคาเก่า"),
        QStringLiteral("      ราคาใหม่") };
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(g.TextMatrix(0, c), titles[c]) << c;
    auto* table = qobject_cast<QTableWidget*>(w.control("msgDetail"));
    EXPECT_EQ(table->columnCount(), 8);
    EXPECT_EQ(table->rowCount(), 29);
    EXPECT_EQ(table->horizontalHeaderItem(4)->text(), titles[4]);

    // a picture of the window for a person to look at (Thai glyphs)
    const QString shot = QDir::temp().filePath(QStringLiteral("kordane-window.png"));
    EXPECT_TRUE(w.grab().save(shot));
}

TEST(MainWindowTest, ClosingEndsTheProgramAtOnce) {
    MainWindow w;
    bool ended = false;
    w.endHook = [&] { ended = true; };
    w.show();
    w.close();
    EXPECT_TRUE(ended);
}

TEST(MainWindowTest, StartsOnTheSampleFilesFromTheSampleFolder) {
    QTemporaryDir sample;
    const QString dir = sample.filePath(QStringLiteral("E:/DataVelandor"));
    QDir().mkpath(dir);
    storekit::CreateClassicStore(dir + QStringLiteral("/Velandor.accdb"), QStringLiteral("V.31"),
        12, {}, QStringLiteral("KWZ730258"));
    storekit::CreatePriceList(dir + QStringLiteral("/PriceList_VURE.mdb"),
        { { 1,
            { storekit::MakePriceRow(QStringLiteral("0"), QStringLiteral("A-1"),
                QStringLiteral("CAP"), QString(), 10) } } },
        QStringLiteral("PLN394"));
    const QString before = QDir::currentPath();
    QDir::setCurrent(sample.path());
    MainWindow w;
    QStringList shown;
    w.messageHook = [&](const QString& text, win::MsgStyle) { shown << text; };
    qobject_cast<QPushButton*>(w.control("cmdUpDate"))->click();
    QDir::setCurrent(before);
    EXPECT_EQ(shown, QStringList { QStringLiteral("เสร็จแล้วจ้า") });
    EXPECT_TRUE(w.control("cmdUpDate")->isEnabled());
}
