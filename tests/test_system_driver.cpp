// The set-up registers FreeTDS as "SQL Server" with the system's driver manager: the store's
// SQL-server connection string reaches the real driver without any test-local registration.
#include "support/tds_server.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

TEST(SystemDriverManager, SqlServerNameReachesFreeTds) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "ODBCSYSINI", "ODBCINSTINI", "ODBCINI" })
        env.remove(QLatin1String(name));
    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.start(QStringLiteral(ODBC_PROBE),
        { testenv::TdsConnectionString("SQL Server", testenv::RefusingPort()) });
    ASSERT_TRUE(probe.waitForFinished(20000));
    const QString said = QString::fromLocal8Bit(probe.readAllStandardOutput()).trimmed();
    EXPECT_EQ(probe.exitCode(), 1) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("[FreeTDS]")))
        << said.toStdString()
        << " (is FreeTDS registered as \"SQL Server\"? run scripts/install.sh)";
}

} // namespace
