// The window as the operator sees it across runs: the table widget, the progress boxes, the
// button and the pointer, read from the widgets themselves.
#include "app/qt/main_window.h"
#include "storekit/classic.h"
#include "storekit/sample.h"
#include "support/odbc_env.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <gtest/gtest.h>
#include <string>

using storekit::MakePriceRow;

namespace {

QTableWidget* table(const MainWindow& w) {
    return qobject_cast<QTableWidget*>(w.control("msgDetail"));
}

QLineEdit* box(const MainWindow& w, const char* name) {
    return qobject_cast<QLineEdit*>(w.control(name));
}

// What the widget shows in grid row r (1 = the first row below the titles), columns 1 to 7.
QString shownRow(const MainWindow& w, int r) {
    QStringList cells;
    for (int c = 1; c <= 7; ++c) {
        const QTableWidgetItem* item = table(w)->item(r - 1, c);
        cells << (item ? item->text() : QString());
    }
    return cells.join(QLatin1Char('|'));
}

// Every row the widget shows, one a line, the empty ones below the listed rows as "||||||".
// (UTF-8, so a failure prints readably).
std::string shownRows(const MainWindow& w) {
    QStringList rows;
    for (int r = 1; r <= table(w)->rowCount(); ++r)
        rows << shownRow(w, r);
    return rows.join(QLatin1Char('\n')).toStdString();
}

std::string expectedRows(QStringList listed, int gridRows = 30) {
    while (listed.size() < gridRows - 1)
        listed << QStringLiteral("||||||");
    return listed.join(QLatin1Char('\n')).toStdString();
}

// What the operator sees while a message box is up.
struct AtMessage {
    QString text;
    bool buttonEnabled;
    Qt::CursorShape pointer;
    bool overridden;
};

struct WindowRun {
    MainWindow w;
    std::vector<AtMessage> seen;
    WindowRun() {
        w.messageHook = [this](const QString& text, win::MsgStyle) {
            seen.push_back({ text, w.control("cmdUpDate")->isEnabled(), w.cursor().shape(),
                QApplication::overrideCursor() != nullptr });
        };
    }
    void press() {
        seen.clear();
        qobject_cast<QPushButton*>(w.control("cmdUpDate"))->click();
    }
    QStringList messages() const {
        QStringList out;
        for (const auto& m : seen)
            out << m.text;
        return out;
    }
};

TEST(WindowRuns, SecondRunShowsOnlyItsOwnRows) {
    const QString dir = testenv::TempDir();
    const QString store = dir + QStringLiteral("/Velandor.accdb");
    storekit::CreateClassicStore(
        store, QStringLiteral("V.31"), 12, {}, QStringLiteral("KWZ730258"));
    {
        // no key can be allocated, so every new part stays new and is listed
        ado::Connection cn;
        storekit::OpenFile(cn, store, QStringLiteral("KWZ730258"));
        cn.Execute(QStringLiteral("Update LastID Set LastID = Null"));
        cn.Close();
    }
    const QString first = dir + QStringLiteral("/first.mdb");
    const QString second = dir + QStringLiteral("/second.mdb");
    storekit::CreatePriceList(first,
        { { 1,
            { MakePriceRow(QStringLiteral("1"), QStringLiteral("A-1"), QStringLiteral("CAP"),
                  QStringLiteral("ฝา"), 20, 0, {}, QStringLiteral("VIGO")),
                MakePriceRow({}, QStringLiteral("B-2"), QStringLiteral("BELT"), {}, 450.5),
                MakePriceRow({}, QStringLiteral("C-3"), {}, QStringLiteral("ซีล"), 75) } } },
        QStringLiteral("PLN394"));
    storekit::CreatePriceList(second,
        { { 3,
            { MakePriceRow(QStringLiteral("2"), QStringLiteral("Z-9"), QStringLiteral("PIN"),
                QStringLiteral("สลัก"), 12, 0, {}, QStringLiteral("D-MAX")) } } },
        QStringLiteral("PLN394"));

    WindowRun run;
    box(run.w, "txtDataVelandor")->setText(store);
    box(run.w, "txtPriceList")->setText(first);
    run.press();
    EXPECT_EQ(run.messages(), QStringList { QStringLiteral("เสร็จแล้วจ้า") });
    EXPECT_EQ(shownRows(run.w),
        expectedRows({ QStringLiteral("1|New|1 - A-1|ฝา|VIGO||20"),
            QStringLiteral("2|New|B-2||||450.5"), QStringLiteral("3|New|C-3|ซีล|||75") }));
    EXPECT_EQ(box(run.w, "txtQTY")->text(), QStringLiteral("กำลังตรวจสอบข้อมูล  VURE  100 %"));
    EXPECT_EQ(box(run.w, "txtPartNO")->text(), QStringLiteral("C-3 - ซีล   "));
    EXPECT_TRUE(run.w.control("cmdUpDate")->isEnabled());

    box(run.w, "txtPriceList")->setText(second);
    run.press();
    EXPECT_EQ(run.messages(), QStringList { QStringLiteral("เสร็จแล้วจ้า") });
    EXPECT_EQ(shownRows(run.w), expectedRows({ QStringLiteral("1|New|2 - Z-9|สลัก|D-MAX||12") }));
    EXPECT_EQ(box(run.w, "txtPartNO")->text(), QStringLiteral("2-Z-9 - สลัก   D-MAX"));
    EXPECT_TRUE(run.w.control("cmdUpDate")->isEnabled());
    // the titles stay in the header row
    EXPECT_EQ(table(run.w)->horizontalHeaderItem(3)->text(),
        QStringLiteral("                      รหัสสินค้า"));
}

// Store rows, one a line, fields joined by "|".
std::string storeRows(const QString& path, const QString& statement) {
    ado::Connection cn;
    storekit::OpenFile(cn, path, storekit::kSampleStorePassword);
    ado::Recordset rs;
    rs.Open(statement, cn);
    QStringList rows;
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList fields;
        for (const QString& column : statement.section(QLatin1Char(' '), 1)
                                         .section(QStringLiteral(" From"), 0, 0)
                                         .split(QStringLiteral(", ")))
            fields << rs.Field(column).toText();
        rows << fields.join(QLatin1Char('|'));
    }
    rs.Close();
    cn.Close();
    return rows.join(QLatin1Char('\n')).toStdString();
}

// The sample the demo writes: its run updates, inserts with replacement numbers, and lists.
TEST(WindowRuns, SampleRunUpdatesInsertsAndLists) {
    const QString folder = testenv::TempDir();
    const QString dir = storekit::WriteSample(folder);
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder); // where the window's start-up paths find the sample
    WindowRun run;
    run.press();
    QDir::setCurrent(before);
    EXPECT_EQ(run.messages(), QStringList { QStringLiteral("เสร็จแล้วจ้า") });
    // the two parts the list prices twice: the store keeps one price, the grid shows the other
    EXPECT_EQ(shownRows(run.w),
        expectedRows({ QStringLiteral("1||1-04465-0K240|ผ้าเบรกหน้า|VIGO|1250|1290"),
            QStringLiteral("2||48815-0K020|ยางกันโคลง|FORTUNER|90|95") }));
    const QString store = dir + QStringLiteral("/Velandor.accdb");
    EXPECT_EQ(
        storeRows(store,
            QStringLiteral("Select PartID, Kind, PartNO, Price, Sale From Pta12 Order By PartID")),
        "1|0|15601-87703|195|160\n"
        "2|0|90915-YZZE1|230|210\n"
        "3|1|04465-0K240|1250|1250\n"
        "4||48815-0K020|90|90\n"
        "5|0|17801-0C010|450|450\n"
        "6||17801-0C020|450|450");
    // the new part and its replacement number in one group
    EXPECT_EQ(
        storeRows(store,
            QStringLiteral("Select AltID, PartID From AltG12 Where AltID <> 0 Order By PartID")),
        "6|5\n5|6");
}

TEST(WindowRuns, PointerBelongsToTheWindow) {
    const QString folder = testenv::TempDir();
    const QString dir = storekit::WriteSample(folder);
    WindowRun run;
    box(run.w, "txtDataVelandor")->setText(dir + QStringLiteral("/Velandor.accdb"));
    box(run.w, "txtPriceList")->setText(dir + QStringLiteral("/PriceList_VURE.mdb"));
    run.press();
    ASSERT_EQ(run.seen.size(), 1u);
    EXPECT_EQ(run.seen[0].text, QStringLiteral("เสร็จแล้วจ้า"));
    // busy on the window while the box is up; nothing overrides the box's own pointer
    EXPECT_EQ(run.seen[0].pointer, Qt::BusyCursor);
    EXPECT_FALSE(run.seen[0].overridden);
    EXPECT_FALSE(run.seen[0].buttonEnabled);
    EXPECT_EQ(run.w.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(box(run.w, "txtPriceList")->cursor().shape(), Qt::IBeamCursor);
    EXPECT_TRUE(run.w.control("cmdUpDate")->isEnabled());

    // the failure path leaves the window busy and its button disabled, and no override behind
    QFile garbage(dir + QStringLiteral("/PriceList_VURE.mdb"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly | QIODevice::Truncate));
    garbage.write("not a database");
    garbage.close();
    run.press();
    ASSERT_EQ(run.seen.size(), 1u);
    EXPECT_EQ(run.seen[0].text, QStringLiteral("ไม่สามรถบันทึกได้"));
    EXPECT_FALSE(run.seen[0].overridden);
    EXPECT_EQ(run.w.cursor().shape(), Qt::BusyCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(box(run.w, "txtPriceList")->cursor().shape(), Qt::IBeamCursor);
    EXPECT_FALSE(run.w.control("cmdUpDate")->isEnabled());
}

TEST(WindowRuns, PasswordBoxShowsAStarForEachCharacter) {
    MainWindow w;
    box(w, "txtpwd")->setText(QStringLiteral("s3cr'et"));
    EXPECT_EQ(box(w, "txtpwd")->displayText(), QStringLiteral("*******"));
    EXPECT_EQ(w.text(win::Box::txtpwd), QStringLiteral("s3cr'et"));
}

// Whatever the engine changes in the grid reaches the table widget.
TEST(WindowRuns, TableWidgetFollowsEveryGridChange) {
    MainWindow w;
    win::GridModel& g = w.grid();
    QTableWidget* t = table(w);
    g.setTextMatrix(3, 2, QStringLiteral("old"));
    g.setCols(4);
    EXPECT_EQ(t->columnCount(), 4);
    g.setCols(9);
    EXPECT_EQ(t->columnCount(), 9);
    EXPECT_EQ(t->horizontalHeaderItem(8)->text(), QString()); // no column number shows
    g.setRows(3);
    EXPECT_EQ(t->rowCount(), 2);
    g.setRows(40);
    EXPECT_EQ(t->rowCount(), 39);
    EXPECT_EQ(t->item(2, 2), nullptr); // a row cut off comes back empty
    g.setColWidth(3, 1500);
    EXPECT_EQ(t->columnWidth(3), 100);
    g.setTextMatrix(0, 3, QStringLiteral("  title"));
    EXPECT_EQ(t->horizontalHeaderItem(3)->text(), QStringLiteral("  title"));

    struct Case {
        int alignment;
        QString text;
        Qt::Alignment shown;
    };
    const Case cases[] = {
        { 1, QStringLiteral("12"), Qt::AlignLeft | Qt::AlignVCenter },
        { 7, QStringLiteral("abc"), Qt::AlignRight | Qt::AlignVCenter },
        { 3, QStringLiteral("abc"), Qt::AlignHCenter | Qt::AlignTop },
        { 9, QStringLiteral("85.5"), Qt::AlignRight | Qt::AlignVCenter }, // general: a number
        { 9, QStringLiteral("New"), Qt::AlignLeft | Qt::AlignVCenter },
    };
    for (const Case& c : cases) {
        g.setTextMatrix(5, 3, c.text);
        g.setColAlignment(3, c.alignment);
        ASSERT_NE(t->item(4, 3), nullptr);
        EXPECT_EQ(t->item(4, 3)->text(), c.text);
        EXPECT_EQ(t->item(4, 3)->textAlignment(), int(c.shown)) << c.alignment;
    }

    g.Clear();
    EXPECT_EQ(t->item(4, 3), nullptr);
    EXPECT_EQ(t->horizontalHeaderItem(3)->text(), QString());
    EXPECT_EQ(t->rowCount(), 39);
}

} // namespace
