// The TDS version freetds.conf gives a server, read without a server: its own section before
// [global], names in any case and spacing, a value ending at a comment, and the host of a server
// field cut before its port or instance.
#include "platform/ado/freetds_settings.h"
#include "support/odbc_env.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>

namespace {

QString Written(const QString& path, const char* text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(text);
    return path;
}

struct ConfCase {
    const char* what;
    const char* conf;
    const char* server; // the section name, in lower case
    const char* expected;
};
void PrintTo(const ConfCase& c, std::ostream* os) {
    *os << c.what;
}

class TdsVersionInConfFileOf : public ::testing::TestWithParam<ConfCase> { };

TEST_P(TdsVersionInConfFileOf, Server) {
    const ConfCase& c = GetParam();
    const QString path = Written(testenv::TempDir() + QStringLiteral("/freetds.conf"), c.conf);
    EXPECT_EQ(ado::TdsVersionInConfFile(path, c.server), QByteArray(c.expected));
}

constexpr const char* kTwoSections
    = "[global]\n\ttds version = 7.1\n[myhost]\n\tport = 1433\n\ttds version = 7.3\n";

INSTANTIATE_TEST_SUITE_P(Files, TdsVersionInConfFileOf,
    ::testing::Values(ConfCase { "OwnSectionBeforeGlobal", kTwoSections, "myhost", "7.3" },
        ConfCase { "GlobalForAnotherServer", kTwoSections, "other", "7.1" },
        ConfCase { "OwnSectionWrittenFirst",
            "[myhost]\ntds version = 7.3\n[global]\ntds version = 7.1\n", "myhost", "7.3" },
        ConfCase { "NamesInAnyCaseAndSpacing", "\n[MyHost]\n\n  TDS   Version\t=  7.2  \n",
            "myhost", "7.2" },
        ConfCase { "ValueEndsAtSemicolon", "[global]\ntds version = 7.2; was 7.1\n", "x", "7.2" },
        ConfCase { "ValueEndsAtHash",
            "[global]\n; tds version = 7.1\n\ttds version = 7.2 # was 7.1\n", "x", "7.2" },
        ConfCase { "NoneGiven", "[global]\n\tport = 1433\n[myhost]\n\ttds versions = 7.2\n",
            "myhost", "" }),
    [](const auto& info) { return std::string(info.param.what); });

// FreeTDS's files as the environment names them, the user's own in place for one test.
class FreeTdsConfOfServer : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : { "FREETDSCONF", "FREETDS", "HOME" })
            saved.push_back({ name,
                qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt });
        QDir(dir).mkdir(QStringLiteral("home"));
        qunsetenv("FREETDS");
        qputenv("HOME", QFile::encodeName(dir + QStringLiteral("/home")));
    }
    void TearDown() override {
        for (const auto& [name, value] : saved)
            value ? qputenv(name, *value) : qunsetenv(name);
    }
    void Conf(const char* text) {
        qputenv(
            "FREETDSCONF", QFile::encodeName(Written(dir + QStringLiteral("/freetds.conf"), text)));
    }
    QString dir = testenv::TempDir();
    std::vector<std::pair<const char*, std::optional<QByteArray>>> saved;
};

TEST_F(FreeTdsConfOfServer, IsTheHostsSectionWithoutPortOrInstance) {
    Conf(kTwoSections);
    for (const char* server : { "myhost", "MyHost", "myhost,1433", "MYHOST\\SQLEXPRESS" })
        EXPECT_EQ(ado::TdsVersionInFreeTdsConf(QString::fromLatin1(server)), "7.3") << server;
}

TEST_F(FreeTdsConfOfServer, FileThatNamesNoVersionGivesWayToTheNext) {
    Conf("[global]\n\ttds version = auto\n");
    Written(dir + QStringLiteral("/home/.freetds.conf"), "[global]\n\ttds version = 7.2\n");
    EXPECT_EQ(ado::TdsVersionInFreeTdsConf(QStringLiteral("myhost")), "7.2");
}

} // namespace
