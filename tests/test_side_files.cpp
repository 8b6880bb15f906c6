// The side files (-wal, -shm) of a store: a read by a user who may not write the store gives no
// other user a way in and removes nothing another program uses; each file goes back to its own
// journal mode, so a file at rest needs none; side files another user left are removed by the
// owner's next run only when they hold nothing.
#include "storekit/sample.h"
#include "storekit/storekit.h"
#include "support/child_program.h"
#include "support/fake_window.h"
#include "support/files.h"
#include "support/odbc_env.h"
#include "support/ordinary_user.h"
#include "support/query_rows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testenv::AsOrdinaryUser;
using testenv::SideFiles;

const QString kDone = QStringLiteral("เสร็จแล้วจ้า");

bool haveUsers(std::initializer_list<const char*> names) {
    if (geteuid() != 0) return false;
    for (const char* n : names)
        if (!getpwnam(n)) return false;
    return true;
}

void own(const QString& path, const char* user, mode_t mode) {
    const passwd* u = getpwnam(user);
    ASSERT_TRUE(u);
    ASSERT_EQ(chown(QFile::encodeName(path).constData(), u->pw_uid, u->pw_gid), 0);
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), mode), 0);
}

// The sample's folder, which other users may pass through to it.
QString reachableSample() {
    const QString top = testenv::TempDir();
    const QString dir = storekit::WriteSample(top);
    for (const QString& d : { top, top + QStringLiteral("/E:"), dir })
        QFile::setPermissions(d, QFileDevice::Permissions(0x7755));
    return dir;
}

mode_t modeOf(const QString& path) {
    struct stat st { };
    return lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// A file's journal mode as its header records it: WAL, or the rollback journal.
bool inWalMode(const QString& path) {
    return testenv::JournalFormat(path) == testenv::kWal;
}

void setJournalMode(const QString& path, const QString& mode) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), path);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA journal_mode=") + mode));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(path);
    ASSERT_EQ(inWalMode(path), mode == QLatin1String("WAL"));
}

// A store with one table T of one row, A = 1, in WAL mode, nothing beside it.
void smallWalStore(const QString& path) {
    testenv::SmallStore(path);
    setJournalMode(path, QStringLiteral("WAL"));
    ASSERT_EQ(SideFiles(path), QStringList());
}

// What a read through the layer sees; the read is read-only when the user may not write the
// file or when asked.
QStringList readThroughTheLayer(
    const QString& path, const QString& sql, bool readOnly = false, const QString& password = {}) {
    ado::Connection cn;
    if (readOnly) cn.setMode(1);
    storekit::OpenFile(cn, path, password);
    return testenv::QueryRows(cn, sql);
}

// The small store, daemon's, in a folder of the user and mode given.
void daemonsStore(const testenv::RunFiles& files, const char* folderOwner, mode_t folderMode) {
    smallWalStore(files.store);
    own(files.store, "daemon", 0644);
    own(files.dir, folderOwner, folderMode);
}

const char* const kThreeUsers = "needs root and the users \"daemon\", \"nobody\" and \"bin\"";

TEST(SideFiles, AReadersSideFilesAreNoWayInForOtherUsers) {
    if (!haveUsers({ "daemon", "nobody", "bin" })) GTEST_SKIP() << kThreeUsers;
    const testenv::RunFiles files;
    daemonsStore(files, "nobody", 0755); // nobody may write the folder, bin may not
    ado::Connection reading; // stays open, as in a window whose run failed on the store
    {
        AsOrdinaryUser reader("nobody");
        storekit::OpenFile(reading, files.store);
        EXPECT_EQ(testenv::QueryRows(reading, QStringLiteral("Select A From T")),
            QStringList { QStringLiteral("1") });
    }
    ASSERT_EQ(SideFiles(files.store).size(), 2);
    for (const QString& side : SideFiles(files.store)) {
        SCOPED_TRACE(side.toStdString());
        EXPECT_EQ(modeOf(side) & ~mode_t(0644), 0u);
        AsOrdinaryUser third("bin");
        const int fd = open(QFile::encodeName(side).constData(), O_WRONLY);
        EXPECT_LT(fd, 0);
        if (fd >= 0) close(fd);
    }
}

// In a folder every user may write, a third user puts a link in place of the -wal the reader's
// open has just made: the file it points to keeps its mode.
TEST(SideFiles, NoModeIsSetThroughALinkInPlaceOfASideFile) {
    if (!haveUsers({ "daemon", "nobody", "bin" })) GTEST_SKIP() << kThreeUsers;
    const testenv::RunFiles files;
    daemonsStore(files, "root", 0777);
    const QString victimDir = testenv::TempDir();
    const QString victim = victimDir + QStringLiteral("/profile");
    QFile(victim).open(QIODevice::WriteOnly);
    own(victim, "nobody", 0600);
    own(victimDir, "nobody", 0755);
    const QByteArray wal = QFile::encodeName(files.store + QStringLiteral("-wal"));
    testenv::ChildProgram third([&](const std::function<void()>& reached) {
        AsOrdinaryUser bin("bin");
        const int in = inotify_init1(IN_CLOEXEC);
        if (in < 0
            || inotify_add_watch(in, QFile::encodeName(files.dir).constData(), IN_CREATE) < 0)
            throw std::runtime_error("no inotify");
        const QByteArray link = QFile::encodeName(files.dir + QStringLiteral("/link"));
        if (symlink(QFile::encodeName(victim).constData(), link.constData()) != 0)
            throw std::runtime_error("no link");
        reached();
        const QByteArray name = QFileInfo(QFile::decodeName(wal)).fileName().toUtf8();
        alignas(inotify_event) char buf[4096];
        for (;;) {
            pollfd p { in, POLLIN, 0 };
            if (poll(&p, 1, 10000) != 1) throw std::runtime_error("no -wal made");
            const ssize_t n = read(in, buf, sizeof buf);
            for (ssize_t i = 0; i < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buf + i);
                if (e->len && name == e->name) {
                    if (rename(link.constData(), wal.constData()) != 0)
                        throw std::runtime_error("not replaced");
                    return;
                }
                i += ssize_t(sizeof(inotify_event) + e->len);
            }
        }
    });
    third.go();
    ASSERT_TRUE(third.reached(10));
    {
        AsOrdinaryUser reader("nobody");
        EXPECT_EQ(readThroughTheLayer(files.store, QStringLiteral("Select A From T")),
            QStringList { QStringLiteral("1") });
    }
    EXPECT_TRUE(third.finished(10));
    EXPECT_EQ(modeOf(victim), mode_t(0600));
}

// Another program's writer, paused at the point where it has opened the database and its -wal
// but not yet mapped the -shm: the pause comes from a VFS of the test's own over SQLite's.
namespace pausing {
const sqlite3_io_methods* real = nullptr;
sqlite3_io_methods methods;
sqlite3_vfs vfs;
std::function<void()> atPause;

int shmMap(sqlite3_file* f, int page, int size, int extend, void volatile** p) {
    if (auto pause = std::exchange(atPause, nullptr)) pause();
    return real->xShmMap(f, page, size, extend, p);
}

int openFile(sqlite3_vfs* self, const char* name, sqlite3_file* f, int flags, int* out) {
    auto* under = static_cast<sqlite3_vfs*>(self->pAppData);
    const int rc = under->xOpen(under, name, f, flags, out);
    if (rc == SQLITE_OK && (flags & SQLITE_OPEN_MAIN_DB) && f->pMethods) {
        real = f->pMethods;
        methods = *real;
        methods.xShmMap = shmMap;
        f->pMethods = &methods;
    }
    return rc;
}

void install() {
    sqlite3_vfs* under = sqlite3_vfs_find(nullptr);
    vfs = *under;
    vfs.zName = "pausing";
    vfs.pAppData = under;
    vfs.xOpen = openFile;
    sqlite3_vfs_register(&vfs, 0);
}
} // namespace pausing

TEST(SideFiles, AWriterThatHasNotMappedTheShmKeepsItsCommitWhileAReaderCloses) {
    const testenv::RunFiles files;
    smallWalStore(files.store);
    testenv::ChildProgram writer([&](const std::function<void()>& reached) {
        pausing::install();
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(
                QFile::encodeName(files.store).constData(), &db, SQLITE_OPEN_READWRITE, "pausing")
            != SQLITE_OK)
            throw std::runtime_error("no open");
        sqlite3_busy_timeout(db, 5000);
        pausing::atPause = [&] {
            reached();
            if (!testenv::AwaitGo(10)) _exit(3);
        };
        if (sqlite3_exec(db, "UPDATE T SET A = 2", nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
        _exit(0); // the commit is in the -wal alone
    });
    writer.go();
    ASSERT_TRUE(writer.reached(10));
    EXPECT_EQ(readThroughTheLayer(files.store, QStringLiteral("Select A From T"), true),
        QStringList { QStringLiteral("1") });
    writer.go();
    ASSERT_TRUE(writer.finished(10));
    EXPECT_EQ(testenv::QueryRows(files.store, QStringLiteral("Select A From T")),
        QStringList { QStringLiteral("2") });
}

// A run gives each file back in the journal mode it found, so a user who may only read the store
// reads it in a folder he cannot write and leaves nothing; a WAL-mode store there is refused with
// a message that says why.
TEST(SideFiles, FilesGoBackToTheirJournalModeAndAreThenReadWithNoSideFiles) {
    const QString dir = reachableSample();
    const QString priceList = dir + QStringLiteral("/PriceList_VURE.mdb");
    const QString store = dir + QStringLiteral("/Velandor.accdb");
    setJournalMode(store, QStringLiteral("DELETE"));
    setJournalMode(priceList, QStringLiteral("DELETE"));
    {
        FormFixture fx;
        fx.useDesktopStore(priceList, store);
        fx.form.cmdUpDate_Click();
        ASSERT_EQ(fx.window.messages.size(), 1u);
        EXPECT_EQ(fx.window.messages[0].text, kDone);
    }
    for (const QString& f : { store, priceList }) {
        EXPECT_FALSE(inWalMode(f)) << f.toStdString();
        EXPECT_EQ(SideFiles(f), QStringList());
    }
    if (!haveUsers({ "nobody" })) GTEST_SKIP() << "needs root and the user \"nobody\"";
    const QString version = QStringLiteral("Select Ver From System");
    const QStringList expected
        = testenv::QueryRows(store, version, {}, storekit::kSampleStorePassword);
    own(dir, "root", 0755);
    own(store, "root", 0644);
    auto readAsNobody = [&] {
        AsOrdinaryUser reader("nobody");
        ado::Connection cn;
        storekit::OpenFile(cn, store, storekit::kSampleStorePassword);
        return testenv::QueryRows(cn, version);
    };
    EXPECT_EQ(readAsNobody(), expected);
    EXPECT_EQ(SideFiles(store), QStringList());

    setJournalMode(store, QStringLiteral("WAL"));
    try {
        readAsNobody();
        ADD_FAILURE() << "a WAL-mode store read in a folder the user may not write";
    } catch (const rt::RunError& e) {
        const QString why = QString::fromUtf8(e.what());
        EXPECT_TRUE(why.contains(QStringLiteral("WAL mode")) && why.contains(dir)) << e.what();
    }
    EXPECT_EQ(SideFiles(store), QStringList());
}

// Side files another user's read left (his, and the owner may not write them): the owner's next
// run removes them and completes; a -wal of his that holds changes stops the run, names the file
// and loses nothing.
TEST(SideFiles, SideFilesAnotherUserLeftAreRemovedByTheOwnersRunWhenEmpty) {
    if (!haveUsers({ "daemon", "nobody" }))
        GTEST_SKIP() << "needs root and the users \"daemon\" (the owner) and \"nobody\"";
    for (const bool holdsChanges : { false, true }) {
        SCOPED_TRACE(holdsChanges ? "a -wal with changes" : "empty side files");
        const QString dir = reachableSample();
        const QString priceList = dir + QStringLiteral("/PriceList_VURE.mdb");
        const QString store = dir + QStringLiteral("/Velandor.accdb");
        setJournalMode(store, QStringLiteral("WAL"));
        const QString price = QStringLiteral("Select Count(*) From Pta12 Where Price = 12345");
        if (holdsChanges) {
            testenv::ChildProgram writer([&](const std::function<void()>&) {
                QSqlDatabase db = testenv::OpenSqlite(store);
                testenv::RunAll(db,
                    { QStringLiteral("PRAGMA wal_autocheckpoint=0"),
                        QStringLiteral("UPDATE Pta12 SET Price = 12345") });
                _exit(0); // the change is in the -wal alone
            });
            writer.go();
            ASSERT_TRUE(writer.finished(10));
        } else {
            // what a read by a user who may not write the store leaves
            own(dir, "root", 0777);
            own(store, "daemon", 0644);
            AsOrdinaryUser reader("nobody");
            readThroughTheLayer(store, QStringLiteral("Select Count(*) From System"), false,
                storekit::kSampleStorePassword);
        }
        ASSERT_EQ(SideFiles(store).size(), 2);
        for (const QString& side : SideFiles(store))
            own(side, "nobody", 0644);
        for (const QString& f : { dir + QStringLiteral("/.."), dir, store, priceList })
            own(f, "daemon", f == store || f == priceList ? 0644 : 0777);

        {
            AsOrdinaryUser owner("daemon");
            if (holdsChanges) {
                try {
                    readThroughTheLayer(store, price, false, storekit::kSampleStorePassword);
                    ADD_FAILURE() << "opened through another user's -wal";
                } catch (const rt::RunError& e) {
                    EXPECT_TRUE(
                        QString::fromUtf8(e.what()).contains(store + QStringLiteral("-wal")))
                        << e.what();
                }
            }
            FormFixture fx;
            fx.useDesktopStore(priceList, store);
            fx.form.cmdUpDate_Click();
            ASSERT_EQ(fx.window.messages.size(), 1u);
            EXPECT_EQ(fx.window.messages[0].text, holdsChanges ? kFailedMessage : kDone);
        }
        if (holdsChanges) {
            EXPECT_EQ(SideFiles(store).size(), 2);
            EXPECT_NE(testenv::QueryRows(store, price, {}, storekit::kSampleStorePassword),
                QStringList { QStringLiteral("0") });
        } else {
            EXPECT_EQ(SideFiles(store), QStringList());
        }
    }
}

// Side files another user left go only while no other program holds the file: while the user
// who left them reads it, the owner's open ends saying the file is in use, and they stay.
TEST(SideFiles, SideFilesAnotherUserLeftStayWhileAnotherProgramHoldsTheFile) {
    if (!haveUsers({ "daemon", "nobody" }))
        GTEST_SKIP() << "needs root and the users \"daemon\" (the owner) and \"nobody\"";
    const testenv::RunFiles files;
    smallWalStore(files.store);
    own(files.store, "daemon", 0644);
    own(files.dir, "daemon", 0777);
    {
        AsOrdinaryUser reader("nobody");
        readThroughTheLayer(files.store, QStringLiteral("Select A From T"));
    }
    ASSERT_EQ(SideFiles(files.store).size(), 2);
    for (const QString& side : SideFiles(files.store))
        own(side, "nobody", 0644);
    // the very files: new ones of the same names would be the owner's
    const auto sideFiles = [&] {
        QStringList out;
        for (const QString& side : SideFiles(files.store)) {
            struct stat st { };
            stat(QFile::encodeName(side).constData(), &st);
            out << QStringLiteral("%1 inode %2 of %3").arg(side).arg(st.st_ino).arg(st.st_uid);
        }
        return out;
    };
    const QStringList left = sideFiles();
    testenv::ChildProgram holder([&](const std::function<void()>& reached) {
        AsOrdinaryUser asReader("nobody");
        QSqlDatabase db = testenv::OpenSqlite(files.store);
        testenv::RunAll(db, { QStringLiteral("BEGIN"), QStringLiteral("SELECT count(*) FROM T") });
        reached();
        if (!testenv::AwaitGo(20)) throw std::runtime_error("not told to end");
    });
    holder.go();
    ASSERT_TRUE(holder.reached(10));
    {
        AsOrdinaryUser owner("daemon");
        ado::Connection cn;
        cn.setCommandTimeout(1);
        try {
            storekit::OpenFile(cn, files.store);
            ADD_FAILURE() << "opened while another program holds the file";
        } catch (const rt::RunError& e) {
            const QString why = e.message();
            EXPECT_TRUE(why.contains(files.store + QStringLiteral("-wal"))
                && why.contains(QStringLiteral("in use")))
                << e.what();
        }
    }
    EXPECT_EQ(sideFiles(), left);
    holder.go();
    EXPECT_TRUE(holder.finished(10));
}

// Two of the program's connections on one file, both writing: the file goes back to the
// rollback journal when the last of them closes, whichever that is.
TEST(SideFiles, TheLastOfTheProgramsConnectionsOnAFileGivesItBack) {
    for (const bool firstWriterClosesFirst : { true, false }) {
        SCOPED_TRACE(firstWriterClosesFirst ? "the first writer closes first"
                                            : "the first writer closes last");
        const testenv::RunFiles files;
        storekit::CreateEmptyFile(files.store);
        {
            ado::Connection cn;
            storekit::OpenFile(cn, files.store);
            cn.Execute(QStringLiteral("Create Table T (A Long)"));
        }
        ASSERT_FALSE(inWalMode(files.store));
        ado::Connection first, second;
        storekit::OpenFile(first, files.store);
        storekit::OpenFile(second, files.store);
        first.Execute(QStringLiteral("Insert Into T Values (1)"));
        second.Execute(QStringLiteral("Insert Into T Values (2)"));
        ASSERT_TRUE(inWalMode(files.store));
        (firstWriterClosesFirst ? first : second).Close();
        (firstWriterClosesFirst ? second : first).Close();
        EXPECT_EQ(testenv::JournalFormat(files.store), testenv::kRollbackJournal);
        EXPECT_EQ(SideFiles(files.store), QStringList());
        EXPECT_EQ(testenv::QueryRows(files.store, QStringLiteral("Select A From T Order By A")),
            (QStringList { QStringLiteral("1"), QStringLiteral("2") }));
    }
}

} // namespace

namespace {

// A connection whose open of a file failed keeps nothing of that file: reused for a SQL server,
// it is not taken for another connection on the file, which gives the file back itself.
TEST(SideFiles, AFailedOpenLeavesNothingOfItsFileOnTheConnection) {
    testenv::RegisterSqlServerDriver();
    const testenv::RunFiles files;
    storekit::CreateEmptyFile(files.store, QStringLiteral("right"));
    const QString server = files.dir + QStringLiteral("/server.db");
    storekit::CreateEmptyFile(server);
    ado::Connection reused;
    EXPECT_THROW(storekit::OpenFile(reused, files.store, QStringLiteral("wrong")), rt::RunError);
    reused.setConnectionString(testenv::SqlServerConnectionString(server));
    reused.Open();
    {
        ado::Connection writer;
        storekit::OpenFile(writer, files.store, QStringLiteral("right"));
        writer.Execute(QStringLiteral("Create Table T (A Long)"));
        EXPECT_TRUE(inWalMode(files.store));
    }
    EXPECT_FALSE(inWalMode(files.store));
    EXPECT_EQ(SideFiles(files.store), QStringList());
    reused.Close();
}

} // namespace
