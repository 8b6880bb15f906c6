// The Qt window as it opens: captions, defaults, option group, masked password, grid set-up.
#include "app/qt/main_window.h"
#include "storekit/classic.h"
#include "support/child_program.h"
#include "support/files.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdexcept>
#include <unistd.h>

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
    // what the operator sees: the titles as the header, the widths at 15 twips a pixel
    auto* table = qobject_cast<QTableWidget*>(w.control("msgDetail"));
    EXPECT_EQ(table->columnCount(), 8);
    EXPECT_EQ(table->rowCount(), 29);
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(table->horizontalHeaderItem(c)->text(), titles[c]) << c;
        EXPECT_EQ(table->columnWidth(c), widths[c] / 15) << c;
    }

    // a picture of the window for a person to look at (Thai glyphs)
    const QString shot = QDir::temp().filePath(QStringLiteral("kordane-window.png"));
    EXPECT_TRUE(w.grab().save(shot));
}

// Every control at its place (twips), with its caption, in tab order; labels right-aligned.
TEST(MainWindowTest, ControlsStandAtTheirPlacesInTabOrder) {
    MainWindow w;
    w.show();
    struct Control {
        const char* name;
        QString caption;
        int left, top, width, height;
    };
    const Control controls[] = {
        { "chkLikelAt", QStringLiteral("จัดระเบียบเบอร์แทน  VURE"), 9120, 600, 5655, 375 },
        { "optAccess", QStringLiteral("ข้อมูล Access ที่จัดเก็บ Velandor"), 120, 120, 4215, 375 },
        { "txtDataVelandor", QStringLiteral("E:\\DataVelandor\\Velandor.accdb"), 4320, 120, 10455,
            375 },
        { "optSQL", QStringLiteral("ข้อมูล SQL"), 120, 600, 1695, 375 },
        { "Label4", QStringLiteral("Server Name"), 2640, 600, 1575, 375 },
        { "txtServer", QString(), 4320, 600, 3375, 360 },
        { "Label1", QStringLiteral("Autherntication"), 2280, 960, 1935, 375 },
        { "txtdbq", QString(), 4320, 960, 3375, 360 },
        { "Label8", QStringLiteral("Login"), 3480, 1320, 735, 375 },
        { "txtuid", QString(), 4320, 1320, 1815, 360 },
        { "Label7", QStringLiteral("Password"), 2880, 1680, 1335, 375 },
        { "txtpwd", QString(), 4320, 1680, 1815, 360 },
        { "Label5", QStringLiteral("ที่จัดเก็บข้อมูลPriceList"), 1680, 2160, 2535, 375 },
        { "txtPriceList", QStringLiteral("E:\\DataVelandor\\PriceList_VURE.mdb"), 4320, 2160, 10455,
            375 },
        { "Label2", QStringLiteral("ลำดับการทำงาน"), 2280, 2640, 1935, 375 },
        { "txtQTY", QString(), 4320, 2640, 9495, 375 },
        { "Label3", QStringLiteral("เบอร์อะไหล่"), 2880, 3000, 1335, 375 },
        { "txtPartNO", QString(), 4320, 3000, 9495, 360 },
        { "cmdUpDate", QStringLiteral("UpDate"), 13920, 2640, 855, 735 },
        { "msgDetail", QString(), 240, 3600, 14535, 6615 },
    };
    auto nextTabStop = [](QWidget* from) {
        QWidget* next = from->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        return next;
    };
    QWidget* previous = nullptr;
    for (const Control& c : controls) {
        SCOPED_TRACE(c.name);
        QWidget* widget = w.control(c.name);
        ASSERT_TRUE(widget);
        EXPECT_EQ(widget->geometry(), QRect(c.left / 15, c.top / 15, c.width / 15, c.height / 15));
        QString shown;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            shown = label->text();
            EXPECT_TRUE(label->alignment() & Qt::AlignRight);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            shown = button->text();
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            shown = edit->text();
        }
        EXPECT_EQ(shown.toStdString(), c.caption.toStdString());
        if (!(widget->focusPolicy() & Qt::TabFocus)) continue;
        if (previous) {
            EXPECT_EQ(nextTabStop(previous), widget);
        }
        previous = widget;
    }
}

// The window's font by its name; what stands in for it where it is missing shows Thai.
TEST(MainWindowTest, FontIsTheWindowsOwnWithThaiGlyphs) {
    MainWindow w;
    EXPECT_EQ(w.font().family(), QStringLiteral("MS Sans Serif"));
    for (const char* name : { "Label5", "chkLikelAt", "txtQTY", "msgDetail" }) {
        const QString family = QFontInfo(w.control(name)->font()).family();
        EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::Thai))
            << name << " " << family.toStdString();
    }
}

// Reads each message box as it comes up and closes it with its OK button.
class MessageBoxReader : public QObject {
public:
    struct Seen {
        QString title, text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        bool modal;
    };
    std::vector<Seen> seen;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box && event->type() == QEvent::Show) {
            seen.push_back({ box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                box->isModal() });
            QMetaObject::invokeMethod(
                box, [box] { box->button(QMessageBox::Ok)->click(); }, Qt::QueuedConnection);
        }
        return false;
    }
};

TEST(MainWindowTest, MessageBoxesShowTheTextWithTheIconOfTheirStyle) {
    MainWindow w;
    w.show();
    MessageBoxReader reader;
    qApp->installEventFilter(&reader);
    struct Case {
        QString text;
        win::MsgStyle style;
        QMessageBox::Icon icon;
    };
    const Case cases[] = {
        { QStringLiteral("ที่จัดเก็บข้อมูล  Velandor.accdb  หาไม่พบ"), win::MsgStyle::Exclamation,
            QMessageBox::Warning },
        { QStringLiteral("ไม่สามารถหา Files VUREในฐานข้อมูล ไม่สามารถบันทึกได้"), win::MsgStyle::Question,
            QMessageBox::Question },
        { QStringLiteral("เสร็จแล้วจ้า"), win::MsgStyle::None, QMessageBox::NoIcon },
    };
    for (const Case& c : cases) {
        reader.seen.clear();
        w.msgBox(c.text, c.style);
        ASSERT_EQ(reader.seen.size(), 1u);
        const auto& box = reader.seen[0];
        EXPECT_EQ(box.text.toStdString(), c.text.toStdString());
        EXPECT_EQ(box.icon, c.icon);
        EXPECT_EQ(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        EXPECT_TRUE(box.title.isEmpty());
        EXPECT_TRUE(box.modal);
    }
    qApp->removeEventFilter(&reader);
}

TEST(MainWindowTest, ClosingEndsTheProgramAtOnce) {
    MainWindow w;
    bool ended = false;
    w.endHook = [&] { ended = true; };
    w.show();
    w.close();
    EXPECT_TRUE(ended);
}

// Closing really ends the program (in a child process), and the store is whole by itself then:
// what the failed run had committed is in the file, not only in a side file beside it.
TEST(MainWindowTest, ClosingLeavesTheStoreWholeByItself) {
    const testenv::RunFiles files;
    storekit::ClassicPart stored;
    stored.partId = 7;
    stored.kind = QStringLiteral("0");
    stored.partNo = QStringLiteral("A-100");
    stored.price = 100;
    storekit::CreateClassicStore(
        files.store, QStringLiteral("V.31"), 12, { stored }, QStringLiteral("KWZ730258"));
    storekit::CreatePriceList(files.priceList,
        { { 1,
            { storekit::MakePriceRow(QStringLiteral("0"), QStringLiteral("A-100"),
                  QStringLiteral("CAP"), QString(), 150),
                storekit::MakePriceRow(QStringLiteral("0"), QStringLiteral("B-200"),
                    QStringLiteral("BOLT"), QString(), 20) } } },
        QStringLiteral("PLN394"));
    {
        ado::Connection cn;
        storekit::OpenFile(cn, files.priceList, QStringLiteral("PLN394"));
        cn.Execute(QStringLiteral("Update PriceList_1 Set Price = Null Where PartNO = 'B-200'"));
    }
    testenv::ChildProgram tool([&](const std::function<void()>&) {
        MainWindow w;
        QStringList shown;
        w.messageHook = [&](const QString& text, win::MsgStyle) { shown << text; };
        w.setText(win::Box::txtPriceList, files.priceList);
        w.setText(win::Box::txtDataVelandor, files.store);
        w.show();
        qobject_cast<QPushButton*>(w.control("cmdUpDate"))->click();
        if (shown != QStringList { QStringLiteral("ไม่สามรถบันทึกได้") })
            throw std::runtime_error("not the failure message");
        w.close();
        throw std::runtime_error("closing did not end the program");
    });
    tool.go();
    ASSERT_TRUE(tool.finished(20));

    const QString copy = files.dir + QStringLiteral("/copy.accdb");
    ASSERT_TRUE(QFile::copy(files.store, copy));
    EXPECT_EQ(
        testenv::QueryRows(copy, QStringLiteral("Select Price From Pta12 Where PartNO = 'A-100'"),
            {}, QStringLiteral("KWZ730258")),
        QStringList { QStringLiteral("150") });
    // and back in the rollback-journal mode it was found in, with nothing beside it
    EXPECT_EQ(testenv::JournalFormat(files.store), testenv::kRollbackJournal);
    EXPECT_EQ(testenv::SideFiles(files.store), QStringList());
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

// A failure's cause goes to standard error as one line, where a terminal or a log shows it.
TEST(MainWindowTest, FailureCauseIsOneLineOnStandardError) {
    MainWindow w;
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("stderr.txt")));
    std::fflush(stderr);
    const int saved = dup(2);
    const int fd = open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(fd, 2);
    close(fd);
    w.failureCause(QStringLiteral("[FreeTDS][SQL Server]Unable to connect\nto data source"));
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    QFile f(QFile::decodeName(path));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[FreeTDS][SQL Server]Unable to connect to data source\n"));
}
