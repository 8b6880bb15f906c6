// Files the tool cannot use: a file that is no database of the tool's is left byte for byte as
// it was, a store the user cannot write is read at a committed state and gets nothing beside it
// that would break a later run, and storekit leaves no half-built file.
#include "prepare/runner.h"
#include "storekit/large_list.h"
#include "storekit/prepare_later.h"
#include "storekit/prepare_tables.h"
#include "storekit/sample.h"
#include "support/child_program.h"
#include "support/fake_window.h"
#include "support/files.h"
#include "support/odbc_env.h"
#include "support/ordinary_user.h"
#include "support/query_rows.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace {

using testenv::FileBytes;
using testenv::SideFiles;

int runPrepare(const QStringList& args) {
    QString out, err, input;
    QTextStream o(&out), e(&err), in(&input);
    return prepare::RunPrepare(args, o, e, in);
}

// Another program's SQLite database, in the rollback-journal mode SQLite starts a file in.
QByteArray foreignDatabase() {
    const QString path = testenv::TempDir() + QStringLiteral("/notes.db");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), path);
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(QStringLiteral("CREATE TABLE Notes (Id INTEGER, Body TEXT)")));
        EXPECT_TRUE(q.exec(QStringLiteral("INSERT INTO Notes VALUES (1, 'kept')")));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(path);
    return FileBytes(path);
}

TEST(UnusableFiles, FileThatIsNoDatabaseIsLeftAsItWas) {
    const QByteArray foreign = foreignDatabase();
    ASSERT_EQ(foreign.mid(18, 2), testenv::kRollbackJournal);
    struct Case {
        const char* name;
        QByteArray bytes;
        bool store; // the file given as the store, else as the price list
        bool window; // through UpDate, else through kordane-prepare
    } cases[] = {
        { "empty price list, window", {}, false, true },
        { "empty store, window", {}, true, true },
        { "text as price list, kordane-prepare", "price list\n", false, false },
        { "empty store, kordane-prepare", {}, true, false },
        { "another program's database as price list, window", foreign, false, true },
        { "another program's database as store, window", foreign, true, true },
        { "another program's database as price list, kordane-prepare", foreign, false, false },
        { "another program's database as store, kordane-prepare", foreign, true, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString dir = storekit::WriteSample(testenv::TempDir());
        QString priceList = dir + QStringLiteral("/PriceList_VURE.mdb");
        QString store = dir + QStringLiteral("/Velandor.accdb");
        QString& bad = c.store ? store : priceList;
        bad = dir + QStringLiteral("/bad.accdb");
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();

        if (c.window) {
            FormFixture fx;
            fx.useDesktopStore(priceList, store);
            fx.form.cmdUpDate_Click();
            ASSERT_EQ(fx.window.messages.size(), 1u);
            EXPECT_EQ(fx.window.messages[0].text, kFailedMessage);
        } else {
            EXPECT_EQ(runPrepare({ QStringLiteral("--yes"), QStringLiteral("--price-list"),
                          priceList, QStringLiteral("--store"), store,
                          c.store ? QStringLiteral("FillIsuzuKinds")
                                  : QStringLiteral("ClearSplitPriceLists") }),
                prepare::kFailed);
        }
        EXPECT_EQ(FileBytes(bad), c.bytes);
        EXPECT_EQ(SideFiles(bad), QStringList());
    }
}

// Every preparation operation, given another program's SQLite file as the price list or as the
// store, leaves it byte for byte as it was, whatever its first statement does.
TEST(UnusableFiles, EveryPreparationLeavesAnotherProgramsFileAsItWas) {
    const QByteArray foreign = foreignDatabase();
    const QString dir = storekit::WriteSample(testenv::TempDir());
    for (const prepare::Operation& op : prepare::Operations()) {
        for (const bool asStore : { false, true }) {
            SCOPED_TRACE(
                std::string(op.name) + (asStore ? ", as the store" : ", as the price list"));
            const QString bad = dir + QStringLiteral("/notes.accdb");
            QFile f(bad);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(foreign);
            f.close();
            runPrepare({ QStringLiteral("--yes"), QStringLiteral("--price-list"),
                asStore ? dir + QStringLiteral("/PriceList_VURE.mdb") : bad,
                QStringLiteral("--store"), asStore ? bad : dir + QStringLiteral("/Velandor.accdb"),
                QLatin1String(op.name) });
            EXPECT_EQ(FileBytes(bad), foreign);
            EXPECT_EQ(SideFiles(bad), QStringList());
        }
    }
}

// storekit makes no half file: a store it cannot build is no file at all.
TEST(UnusableFiles, StoreThatCannotBeBuiltLeavesNoFile) {
    const QString path = testenv::TempDir() + QStringLiteral("/x.accdb");
    EXPECT_THROW(storekit::CreateLargeStore(path, QStringLiteral("V.99"), 12, 3), rt::RunError);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(SideFiles(path), QStringList());
}

using testenv::AsOrdinaryUser;

TEST(UnusableFiles, UnwritableStoreLeavesNothingThatBreaksALaterRun) {
    const QString top = testenv::TempDir();
    const QString dir = storekit::WriteSample(top);
    const QString priceList = dir + QStringLiteral("/PriceList_VURE.mdb");
    const QString store = dir + QStringLiteral("/Velandor.accdb");
    // the other user reaches the folders and writes the price list, not the store
    for (const QString& d : { top, top + QStringLiteral("/E:"), dir })
        QFile::setPermissions(d, QFileDevice::Permissions(0x7777));
    QFile::setPermissions(priceList, QFileDevice::Permissions(0x6666));
    QFile::setPermissions(
        store, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const QByteArray before = FileBytes(store);
    {
        AsOrdinaryUser user;
        if (!user.ordinary()) {
            QFile::setPermissions(store, QFileDevice::Permissions(0x6644));
            GTEST_SKIP() << "running as root with no user \"nobody\" to run as";
        }
        {
            FormFixture fx;
            fx.useDesktopStore(priceList, store);
            fx.form.cmdUpDate_Click();
            ASSERT_EQ(fx.window.messages.size(), 1u);
            EXPECT_EQ(fx.window.messages[0].text, kFailedMessage);
        }
        // an operation that only reads the store succeeds
        EXPECT_EQ(runPrepare({ QStringLiteral("--yes"), QStringLiteral("--price-list"), priceList,
                      QStringLiteral("--store"), store, QStringLiteral("FillIsuzuKinds") }),
            prepare::kDone);
    }
    EXPECT_EQ(SideFiles(store), QStringList());
    EXPECT_EQ(FileBytes(store), before);

    // writable again: the next run completes
    QFile::setPermissions(store, QFileDevice::Permissions(0x6644));
    FormFixture fx;
    fx.useDesktopStore(priceList, store);
    fx.form.cmdUpDate_Click();
    ASSERT_EQ(fx.window.messages.size(), 1u);
    EXPECT_EQ(fx.window.messages[0].text, QStringLiteral("เสร็จแล้วจ้า"));
}

using testenv::OnlyTheStoreUnwritable;

// A writer that crashed left its changed kind of P-ONE ("1" committed) beside a store the user
// cannot write: in a hot journal (not committed: the read fails, as the journal cannot be rolled
// back) or in a -wal (committed: it is read).
TEST(UnusableFiles, UnwritableStoreIsReadAtItsCommittedState) {
    struct Case {
        const char* name;
        bool committed; // in a -wal, else uncommitted with a hot journal
        int result;
        QString sheetKind, storeKindLater;
    } cases[] = {
        { "hot journal", false, prepare::kFailed, QString(), QStringLiteral("1") },
        { "-wal", true, prepare::kDone, QStringLiteral("7"), QStringLiteral("7") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const testenv::RunFiles files;
        storekit::CreateLookupStore(files.store, QStringLiteral("V.31"), 12,
            { { QStringLiteral("1"), QStringLiteral("P-ONE"), {}, QStringLiteral("x") } });
        storekit::CreateEmptyFile(files.priceList);
        storekit::AddRawSheets(files.priceList,
            { { 1,
                { storekit::MakeRawRow(
                    {}, QStringLiteral("P-ONE"), {}, 0, 0, QStringLiteral("x")) } } });
        {
            ado::Connection cn;
            storekit::OpenFile(cn, files.store);
            cn.Execute(c.committed ? QStringLiteral("PRAGMA journal_mode=WAL")
                                   : QStringLiteral("PRAGMA journal_mode=DELETE"));
        }
        testenv::ChildProgram writer([&](const std::function<void()>&) {
            QSqlDatabase db = testenv::OpenSqlite(files.store);
            const QString change
                = QStringLiteral("UPDATE Pta12 SET Kind = '7' WHERE PartNO = 'P-ONE'");
            if (c.committed) {
                testenv::RunAll(db, { change });
            } else {
                // a small cache spills the change into the file before the commit
                testenv::RunAll(db,
                    { QStringLiteral("CREATE TABLE Filler (X)"),
                        QStringLiteral("PRAGMA cache_size=1"), QStringLiteral("BEGIN"), change,
                        QStringLiteral("INSERT INTO Filler WITH RECURSIVE n(i) AS (SELECT 1 UNION "
                                       "ALL SELECT i + 1 FROM n WHERE i < 200) SELECT "
                                       "randomblob(1000) FROM n") });
            }
            _exit(0); // the crash
        });
        writer.go();
        ASSERT_TRUE(writer.finished(10));
        ASSERT_TRUE(QFile::exists(files.store + (c.committed ? "-wal" : "-journal")));
        OnlyTheStoreUnwritable({ files.dir }, { files.priceList }, files.store);
        {
            AsOrdinaryUser user;
            if (!user.ordinary()) GTEST_SKIP() << "running as root with no user \"nobody\"";
            EXPECT_EQ(runPrepare({ QStringLiteral("--yes"), QStringLiteral("--price-list"),
                          files.priceList, QStringLiteral("--store"), files.store,
                          QStringLiteral("FillIsuzuKinds") }),
                c.result);
        }
        EXPECT_EQ(
            testenv::QueryRows(files.priceList, QStringLiteral("Select Kind From PriceNew_1")),
            QStringList { c.sheetKind });
        QFile::setPermissions(files.store, QFileDevice::Permissions(0x6644));
        EXPECT_EQ(testenv::QueryRows(
                      files.store, QStringLiteral("Select Kind From Pta12 Where PartNO = 'P-ONE'")),
            QStringList { c.storeKindLater });
    }
}

// The store's owner commits while another user, who may only read it, reads: the read in hand
// keeps the state it began with and the next read sees the commit. The owner's program has the
// WAL-mode file open first, so the side files are its own.
TEST(UnusableFiles, UnwritableStoreReaderSeesOneCommittedStateWhileAWriterCommits) {
    const passwd* daemon = getpwnam("daemon");
    const std::pair<uid_t, gid_t> owner
        = daemon ? std::pair(daemon->pw_uid, daemon->pw_gid) : std::pair(uid_t(0), gid_t(0));
    if (geteuid() != 0 || !daemon || !getpwnam("nobody"))
        GTEST_SKIP() << "needs root and the users \"daemon\" (the owner) and \"nobody\"";
    const testenv::RunFiles files;
    storekit::CreateEmptyFile(files.store);
    {
        ado::Connection cn;
        storekit::OpenFile(cn, files.store);
        cn.Execute(QStringLiteral("PRAGMA journal_mode=WAL"));
        cn.Execute(QStringLiteral("Create Table T (A Long, Pad Text(255))"));
        cn.Execute(QStringLiteral("Insert Into T With Recursive n(i) As (Select 1 Union All "
                                  "Select i + 1 From n Where i < 200) Select i, printf('%250d', i) "
                                  "From n"));
    }
    OnlyTheStoreUnwritable({ files.dir }, {}, files.store);
    ASSERT_EQ(chown(QFile::encodeName(files.store).constData(), owner.first, owner.second), 0);
    QFile::setPermissions(files.store, QFileDevice::Permissions(0x6444));
    testenv::ChildProgram writer([&](const std::function<void()>& reached) {
        AsOrdinaryUser asOwner("daemon");
        QSqlDatabase db = testenv::OpenSqlite(files.store);
        testenv::RunAll(db, { QStringLiteral("SELECT count(*) FROM T") });
        reached();
        if (!testenv::AwaitGo(10)) throw std::runtime_error("not told to write");
        testenv::RunAll(db, { QStringLiteral("DELETE FROM T WHERE A > 100") });
        reached();
        if (!testenv::AwaitGo(10)) throw std::runtime_error("not told to end");
        db.close();
    });
    writer.go();
    ASSERT_TRUE(writer.reached(10));
    {
        AsOrdinaryUser user;
        ado::Connection cn;
        storekit::OpenFile(cn, files.store);
        ado::Recordset rs;
        rs.Open(QStringLiteral("Select A From T"), cn);
        QStringList read, expected;
        for (int i = 1; i <= 200; ++i)
            expected << QString::number(i);
        try {
            for (; !rs.Eof(); rs.MoveNext()) {
                read << rs.Field(QStringLiteral("A")).toText();
                if (read.size() == 10) {
                    writer.go();
                    ASSERT_TRUE(writer.reached(10));
                }
            }
        } catch (const rt::RunError& e) {
            ADD_FAILURE() << "after row " << read.size() << ": " << e.what();
        }
        rs.Close();
        EXPECT_EQ(read, expected);
        rs.Open(QStringLiteral("Select Count(*) As N From T"), cn);
        EXPECT_EQ(rs.Field(QStringLiteral("N")).toInt32(), 100);
        rs.Close();
    }
    writer.go();
    EXPECT_TRUE(writer.finished(10));
}

} // namespace
