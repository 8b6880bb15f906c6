// The data-access layer on both backends: the stand-in file through the desktop driver name,
// and the SQL-server path through the ODBC driver manager.
#include "platform/ado/ado.h"
#include "storekit/storekit.h"
#include "support/files.h"
#include "support/lines.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"

#include <QFile>
#include <gtest/gtest.h>

using ado::Connection;
using ado::Recordset;
using rt::Value;

namespace {

const char* kStagingSql
    = "Create Table PriceList (BrandID int, PartNO nvarchar(40), Kind nvarchar(1), "
      "EName nvarchar(40), TName nvarchar(60), Price money, Sale money)";
const char* kStagingAccess = "Create Table PriceList (BrandID Long, PartNO Text(40), Kind Text(1), "
                             "EName Text(40), TName Text(60), Price Currency, Sale Currency)";

class AdoBackend : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        path_ = testenv::TempDir() + QStringLiteral("/store.db");
        storekit::CreateEmptyFile(path_);
        odbc_ = GetParam();
        cn_.setConnectionString(odbc_ ? testenv::SqlServerConnectionString(path_)
                                      : storekit::DesktopConnectionString(path_));
        cn_.setCommandTimeout(20);
        cn_.Open();
        cn_.Execute(QString::fromLatin1(odbc_ ? kStagingSql : kStagingAccess));
    }
    QString path_;
    bool odbc_ = false;
    Connection cn_;
};

TEST_P(AdoBackend, ThaiTextRoundTripsAndRowCountsAreExact) {
    const QString thai = QString::fromUtf8("ไส้กรองน้ำมันเครื่อง");
    EXPECT_EQ(cn_.Execute(QStringLiteral(
                  "Insert Into PriceList Values( 7, 'A-1', '0', 'OIL FILTER', '%1', 125.5, 0 )")
                              .arg(thai)),
        1);
    cn_.Execute(QStringLiteral("Insert Into PriceList Values( 7, 'B-2', '', 'BELT', '', 80, 75 )"));
    cn_.Execute(QStringLiteral("Insert Into PriceList (BrandID, PartNO) Values( 8, 'C-3' )"));

    Recordset rs;
    rs.Open(QStringLiteral("Select * From PriceList Where TName = '%1'").arg(thai), cn_);
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Field(QStringLiteral("tname")).toText(), thai);
    EXPECT_EQ(rs.Field(QStringLiteral("Price")).toCurrency().toText(), "125.5");
    rs.Close();

    rs.Open(QStringLiteral("Select PartNO, EName, Price From PriceList Order By PartNO"), cn_);
    EXPECT_EQ(rs.RecordCount(), 3);
    rs.MoveNext();
    rs.MoveNext();
    EXPECT_TRUE(rs.Field(QStringLiteral("EName")).isNull());
    EXPECT_THROW(rs.Field(QStringLiteral("EName")).toText(), rt::RunError);
    EXPECT_THROW(rs.Field(QStringLiteral("Price")).toCurrency(), rt::RunError);
    EXPECT_THROW(rs.Field(QStringLiteral("NoSuchColumn")), rt::RunError);
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_THROW(rs.Field(QStringLiteral("PartNO")), rt::RunError);
    EXPECT_THROW(rs.Open(QStringLiteral("Select * From PriceList"), cn_), rt::RunError);
    rs.Close();

    EXPECT_EQ(cn_.Execute(QStringLiteral("Update PriceList Set Sale = 1 Where BrandID = 7")), 2);
    EXPECT_EQ(cn_.Execute(QStringLiteral("Delete From PriceList Where BrandID = 99")), 0);
    testenv::WithheldRowCounts noCounts;
    EXPECT_EQ(cn_.Execute(QStringLiteral("Update PriceList Set Sale = 2 Where BrandID = 7")), -1);
}

TEST_P(AdoBackend, RollbackUndoesStatementsAndRecordsetWrites) {
    cn_.Execute(
        QStringLiteral("Insert Into PriceList (BrandID, PartNO, Price) Values( 1, 'KEEP', 10 )"));
    cn_.BeginTrans();
    cn_.Execute(QStringLiteral("Insert Into PriceList (BrandID, PartNO) Values( 1, 'GONE' )"));
    Recordset rs;
    rs.Open(QStringLiteral("Select PartNO, Price From PriceList Where PartNO = 'KEEP'"), cn_);
    rs.SetField(QStringLiteral("Price"), Value(rt::Currency::fromInt(99)));
    rs.Update();
    rs.AddNew();
    rs.SetField(QStringLiteral("PartNO"), Value("ADDED"));
    rs.Update();
    rs.Close();

    rs.Open(QStringLiteral("Select PartNO, Price From PriceList Order By PartNO"), cn_);
    EXPECT_EQ(rs.RecordCount(), 3); // the transaction sees its own writes
    rs.Close();
    cn_.RollbackTrans();

    rs.Open(QStringLiteral("Select PartNO, Price From PriceList"), cn_);
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Field(QStringLiteral("PartNO")).toText(), "KEEP");
    EXPECT_EQ(rs.Field(QStringLiteral("Price")).toCurrency(), rt::Currency::fromInt(10));
    rs.Close();

    cn_.BeginTrans();
    rs.Open(QStringLiteral("Select PartNO, Price From PriceList"), cn_);
    rs.SetField(QStringLiteral("Price"), Value(rt::Currency::fromInt(11)));
    rs.Update();
    rs.Close();
    cn_.CommitTrans();
    rs.Open(QStringLiteral("Select Price From PriceList"), cn_);
    EXPECT_EQ(rs.Field(QStringLiteral("Price")).toCurrency(), rt::Currency::fromInt(11));
    rs.Close();
}

TEST_P(AdoBackend, TextLongerThanItsColumnIsRefusedAndMalformedStatementsFail) {
    EXPECT_THROW(
        cn_.Execute(QStringLiteral("Insert Into PriceList (BrandID, Kind) Values( 1, '01' )")),
        rt::RunError);
    const QString longThai = QString(61, QChar(0x0E01));
    EXPECT_THROW(
        cn_.Execute(QStringLiteral("Insert Into PriceList (BrandID, TName) Values( 1, '%1' )")
                        .arg(longThai)),
        rt::RunError);
    cn_.Execute(QStringLiteral("Insert Into PriceList (BrandID, TName) Values( 1, '%1' )")
                    .arg(longThai.left(60)));
    EXPECT_THROW(cn_.Execute(QStringLiteral("Update PriceList Set Kind = 'XY'")), rt::RunError);
    EXPECT_THROW(cn_.Execute(QStringLiteral("Selec nonsense")), rt::RunError);
    Recordset rs;
    EXPECT_THROW(rs.Open(QStringLiteral("Select * From NoSuchTable"), cn_), rt::RunError);
    EXPECT_FALSE(rs.isOpen());
}

// The desktop database and a SQL server's default collation compare texts without case; so does
// a table created on the stand-in, while the trace sees the statement as it was built.
TEST_P(AdoBackend, CreatedTableComparesTextsWithoutCase) {
    cn_.Execute(QStringLiteral("DROP TABLE PriceList"));
    const QString create = QString::fromLatin1(odbc_ ? kStagingSql : kStagingAccess);
    EXPECT_LINES(testenv::Traced([&] { cn_.Execute(create); }), QStringList { create });
    for (const char* row : { "7, 'CV-1', 'a'", "7, 'cv-2', 'B'", "7, 'Cv-0', 'c'" })
        cn_.Execute(
            QStringLiteral("Insert Into PriceList (BrandID, PartNO, Kind) Values( %1 )").arg(row));
    EXPECT_LINES(testenv::QueryRows(cn_,
                     QStringLiteral("Select PartNO From PriceList Where PartNO = 'cv-1' And "
                                    "Kind = 'A'")),
        QStringList { "CV-1" });
    EXPECT_LINES(
        testenv::QueryRows(cn_, QStringLiteral("Select PartNO From PriceList Order By PartNO")),
        QStringList({ "Cv-0", "CV-1", "cv-2" }));
    EXPECT_EQ(cn_.Execute(QStringLiteral("Delete From PriceList Where Kind = 'b'")), 1);
    // too long is still too long
    EXPECT_THROW(
        cn_.Execute(QStringLiteral("Insert Into PriceList (BrandID, Kind) Values( 1, 'xy' )")),
        rt::RunError);
}

INSTANTIATE_TEST_SUITE_P(Backends, AdoBackend, ::testing::Values(false, true),
    [](const auto& info) { return info.param ? "Odbc" : "StandIn"; });

TEST(AdoConnection, StandInFileMustExistAndPasswordMustMatch) {
    const QString dir = testenv::TempDir();
    Connection cn;
    cn.setConnectionString(storekit::DesktopConnectionString(dir + "/missing.accdb"));
    EXPECT_THROW(cn.Open(), rt::RunError);
    EXPECT_EQ(cn.State(), 0);
    EXPECT_FALSE(QFile::exists(dir + "/missing.accdb"));

    storekit::CreateEmptyFile(dir + "/locked.mdb", "KWZ730258");
    cn.setConnectionString(storekit::DesktopConnectionString(dir + "/locked.mdb", "WRONG1"));
    EXPECT_THROW(cn.Open(), rt::RunError);
    cn.setConnectionString(storekit::DesktopConnectionString(dir + "/locked.mdb", "KWZ730258"));
    cn.Open();
    EXPECT_EQ(cn.State(), 1);
    EXPECT_THROW(cn.setConnectionString("x"), rt::RunError);
    cn.Close();
    EXPECT_EQ(cn.State(), 0);
}

// SQLite would take an empty file for an empty database and write one into it.
TEST(AdoConnection, FileThatIsNoStandInIsRefusedAndLeftAsItWas) {
    const QString dir = testenv::TempDir();
    const QByteArray contents[] = { QByteArray(), QByteArray("not a database\n"),
        QByteArray("SQLite format 3"), QByteArray(4096, '\0') };
    int i = 0;
    for (const QByteArray& bytes : contents) {
        const QString path = dir + QStringLiteral("/file%1.mdb").arg(++i);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        Connection cn;
        cn.setConnectionString(storekit::DesktopConnectionString(path, "PLN394"));
        try {
            cn.Open();
            ADD_FAILURE() << "opened file " << i;
        } catch (const rt::RunError& e) {
            EXPECT_EQ(e.message(), "Unrecognized database format '" + path + "'.");
        }
        EXPECT_EQ(cn.State(), 0);
        EXPECT_EQ(testenv::FileBytes(path), bytes) << "file " << i;
        EXPECT_EQ(testenv::SideFiles(path), QStringList()) << "file " << i;
    }
}

// A file opened for reading only (as a file the user cannot write is) gets nothing written in
// it or beside it: side files left by a reader would keep the file's read-only mode and break
// every later run.
TEST(AdoConnection, ReadOnlyOpenWritesNothing) {
    const QString path = testenv::TempDir() + "/store.accdb";
    storekit::CreateEmptyFile(path, "KWZ730258");
    {
        Connection cn;
        storekit::OpenFile(cn, path, "KWZ730258");
        cn.Execute("Create Table T (A Long)");
        cn.Execute("Insert Into T Values( 7 )");
    }
    ASSERT_EQ(testenv::SideFiles(path), QStringList());
    const QByteArray before = testenv::FileBytes(path);

    Connection cn;
    cn.setConnectionString(storekit::DesktopConnectionString(path, "WRONG1"));
    cn.setMode(1);
    EXPECT_THROW(cn.Open(), rt::RunError);
    cn.setConnectionString(storekit::DesktopConnectionString(path, "KWZ730258"));
    cn.Open();
    Recordset rs;
    rs.Open("Select A From T", cn);
    EXPECT_EQ(rs.Field("A").toInt32(), 7);
    rs.Close();
    EXPECT_THROW(cn.Execute("Insert Into T Values( 8 )"), rt::RunError);
    cn.Close();
    EXPECT_EQ(testenv::SideFiles(path), QStringList());
    EXPECT_EQ(testenv::FileBytes(path), before);

    cn.setMode(3);
    cn.Open();
    EXPECT_EQ(cn.Execute("Insert Into T Values( 8 )"), 1);
    cn.Close();
    EXPECT_EQ(testenv::SideFiles(path), QStringList());
}

TEST(AdoConnection, UnreachableOdbcSourceFails) {
    testenv::RegisterSqlServerDriver();
    Connection cn;
    cn.setConnectionString("driver={No Such Driver};server=nowhere;uid=;pwd=;database=x;");
    EXPECT_THROW(cn.Open(), rt::RunError);
}

TEST(AdoConnection, ConnectionStringAttributes) {
    auto a = ado::ParseConnectionString(
        "driver={Microsoft Access Driver (*.mdb, *.accdb)};dbq=E:\\x.accdb;UID=admin;PWD=P;");
    EXPECT_EQ(a["driver"], "Microsoft Access Driver (*.mdb, *.accdb)");
    EXPECT_EQ(a["dbq"], "E:\\x.accdb");
    EXPECT_EQ(a["pwd"], "P");
}

} // namespace
