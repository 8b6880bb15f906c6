// Files the tool cannot use: a file that is no database of the tool's is left byte for byte as
// it was, a store the user cannot write is read at a committed state and gets nothing beside it
// that would break a later run, and storekit leaves no half-built file.
#include "prepare/runner.h"
#include "storekit/large_list.h"
#include "storekit/sample.h"
#include "support/fake_window.h"
#include "support/odbc_env.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace {

const QString kFailed = QStringLiteral("ไม่สามรถบันทึกได้");

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList sideFiles(const QString& path) {
    QStringList out;
    for (const char* tail : { "-wal", "-shm", "-journal" })
        if (QFile::exists(path + QLatin1String(tail))) out << path + QLatin1String(tail);
    return out;
}

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
    return fileBytes(path);
}

TEST(UnusableFiles, FileThatIsNoDatabaseIsLeftAsItWas) {
    const QByteArray foreign = foreignDatabase();
    ASSERT_EQ(foreign.mid(18, 2), QByteArray("\x01\x01", 2));
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
            EXPECT_EQ(fx.window.messages[0].text, kFailed);
        } else {
            EXPECT_EQ(runPrepare({ QStringLiteral("--yes"), QStringLiteral("--price-list"),
                          priceList, QStringLiteral("--store"), store,
                          c.store ? QStringLiteral("FillIsuzuKinds")
                                  : QStringLiteral("ClearSplitPriceLists") }),
                prepare::kFailed);
        }
        EXPECT_EQ(fileBytes(bad), c.bytes);
        EXPECT_EQ(sideFiles(bad), QStringList());
    }
}

// storekit makes no half file: a store it cannot build is no file at all.
TEST(UnusableFiles, StoreThatCannotBeBuiltLeavesNoFile) {
    const QString path = testenv::TempDir() + QStringLiteral("/x.accdb");
    EXPECT_THROW(storekit::CreateLargeStore(path, QStringLiteral("V.99"), 12, 3), rt::RunError);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(sideFiles(path), QStringList());
}

// Runs as an ordinary user while it lives: as root, file modes do not bind, so the effective ids
// become those of "nobody"; any other user is one already.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() {
        if (geteuid() != 0) return;
        const passwd* nobody = getpwnam("nobody");
        if (!nobody) return;
        switched_ = setegid(nobody->pw_gid) == 0 && seteuid(nobody->pw_uid) == 0;
        if (!switched_) restore();
    }
    ~AsOrdinaryUser() {
        if (switched_) restore();
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;
    bool ordinary() const { return geteuid() != 0; }

private:
    static void restore() {
        if (seteuid(0) != 0 || setegid(0) != 0) std::abort(); // the rest of the run needs root
    }
    bool switched_ = false;
};

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
    const QByteArray before = fileBytes(store);
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
            EXPECT_EQ(fx.window.messages[0].text, kFailed);
        }
        // an operation that only reads the store succeeds
        EXPECT_EQ(runPrepare({ QStringLiteral("--yes"), QStringLiteral("--price-list"), priceList,
                      QStringLiteral("--store"), store, QStringLiteral("FillIsuzuKinds") }),
            prepare::kDone);
    }
    EXPECT_EQ(sideFiles(store), QStringList());
    EXPECT_EQ(fileBytes(store), before);

    // writable again: the next run completes
    QFile::setPermissions(store, QFileDevice::Permissions(0x6644));
    FormFixture fx;
    fx.useDesktopStore(priceList, store);
    fx.form.cmdUpDate_Click();
    ASSERT_EQ(fx.window.messages.size(), 1u);
    EXPECT_EQ(fx.window.messages[0].text, QStringLiteral("เสร็จแล้วจ้า"));
}

} // namespace
