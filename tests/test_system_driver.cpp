// The set-up registers FreeTDS as "SQL Server" with the system's driver manager: the store's
// SQL-server connection string reaches the real driver without any test-local registration;
// the registration itself also runs against a driver list of a test's own.
#include "support/files.h"
#include "support/odbc_env.h"
#include "support/tds_server.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// Opens the store's SQL-server connection string, to a port where nothing listens, in a
// process with the environment given: FreeTDS must be the driver that refuses.
void expectFreeTdsReached(const QProcessEnvironment& env) {
    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.start(QStringLiteral(ODBC_PROBE),
        { testenv::TdsConnectionString("SQL Server", testenv::RefusingPort()) });
    ASSERT_TRUE(probe.waitForFinished(20000));
    const QString said = QString::fromLocal8Bit(probe.readAllStandardOutput()).trimmed();
    EXPECT_EQ(probe.exitCode(), 1) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("[FreeTDS]"))) << said.toStdString();
}

TEST(SystemDriverManager, SqlServerNameReachesFreeTds) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "ODBCSYSINI", "ODBCINSTINI", "ODBCINI" })
        env.remove(QLatin1String(name));
    SCOPED_TRACE("is FreeTDS registered as \"SQL Server\"? run scripts/install.sh");
    expectFreeTdsReached(env);
}

// The set-up's registration, against a driver list of the test's own: FreeTDS is reached under
// "SQL Server" through that list, and a second run leaves the registration as it found it.
TEST(SystemDriverManager, RegistrationWritesFreeTdsOnceIntoTheDriverList) {
    const QString dir = testenv::TempDir();
    const QString list = dir + QStringLiteral("/odbcinst.ini");
    {
        QFile empty(list);
        ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "ODBCINSTINI", "ODBCINI" })
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("ODBCSYSINI"), dir);
    auto run = [&](const QString& program, const QStringList& args) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, args);
        const bool ended = p.waitForFinished(20000);
        const QString said = QString::fromLocal8Bit(p.readAll());
        EXPECT_TRUE(ended) << program.toStdString();
        EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": " << said.toStdString();
        return said;
    };
    const QString script = QStringLiteral(KORDANE_SOURCE_DIR "/scripts/register-driver.sh");
    run(QStringLiteral("bash"), { script });
    EXPECT_TRUE(run(QStringLiteral("odbcinst"), { QStringLiteral("-q"), QStringLiteral("-d") })
                    .split(QLatin1Char('\n'))
                    .contains(QStringLiteral("[SQL Server]")));
    expectFreeTdsReached(env);

    const QString registered = QString::fromUtf8(testenv::FileBytes(list));
    run(QStringLiteral("bash"), { script });
    EXPECT_EQ(QString::fromUtf8(testenv::FileBytes(list)), registered);
}

} // namespace
