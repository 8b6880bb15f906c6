// The benchmark's command line: values are read whole or refused, naming their option, so a
// malformed count never becomes a run of zero rows.
#include "bench_options.h"

#include <gtest/gtest.h>

namespace {

TEST(BenchOptions, ReadsEveryOptionAndTheEdgesOfTheirRanges) {
    const bench::Options o = bench::ParseOptions({ "--rows", "1,10000,100000", "--version",
        "P.68 (Bar)", "--new-share", "0", "--alts", "5", "--table-rows", "1", "--csv", "b.csv",
        "--dir", "d", "--kill", "--window", "--profile", "--help" });
    EXPECT_EQ(o.rows, (std::vector<int> { 1, 10000, 100000 }));
    EXPECT_EQ(o.version.toStdString(), "P.68 (Bar)");
    EXPECT_EQ(o.shape.newShare, 0);
    EXPECT_EQ(o.shape.altsPerNew, 5);
    EXPECT_EQ(o.shape.tableRows, 1);
    EXPECT_EQ(o.csv.toStdString(), "b.csv");
    EXPECT_EQ(o.dir.toStdString(), "d");
    EXPECT_TRUE(o.kill && o.window && o.profile && o.help);

    const bench::Options other
        = bench::ParseOptions({ "--new-share", "1", "--new-share", "0.25", "--alts", "0" });
    EXPECT_EQ(other.shape.newShare, 0.25);
    EXPECT_EQ(other.shape.altsPerNew, 0);
    EXPECT_EQ(other.rows, (std::vector<int> { 1000, 10000 }));
    EXPECT_FALSE(other.help);
}

TEST(BenchOptions, MalformedOrOutOfRangeValuesAreRefusedNamingTheirOption) {
    const struct {
        QStringList args;
        const char* option;
    } cases[] = {
        { { "--rows", "abc" }, "--rows" },
        { { "--rows", "5k" }, "--rows" },
        { { "--rows", "1O00" }, "--rows" },
        { { "--rows", "0" }, "--rows" },
        { { "--rows", "-5" }, "--rows" },
        { { "--rows", "+5" }, "--rows" },
        { { "--rows", "1.5" }, "--rows" },
        { { "--rows", "99999999999" }, "--rows" },
        { { "--rows", "1000,,2000" }, "--rows" },
        { { "--rows", "1000,x" }, "--rows" },
        { { "--rows", "" }, "--rows" },
        { { "--rows" }, "--rows" },
        { { "--new-share", "abc" }, "--new-share" },
        { { "--new-share", "1.01" }, "--new-share" },
        { { "--new-share", "-0.1" }, "--new-share" },
        { { "--new-share", "nan" }, "--new-share" },
        { { "--new-share", "0.5x" }, "--new-share" },
        { { "--alts", "6" }, "--alts" },
        { { "--alts", "one" }, "--alts" },
        { { "--table-rows", "0" }, "--table-rows" },
        { { "--table-rows", "10k" }, "--table-rows" },
        { { "--csv" }, "--csv" },
        { { "--kill", "--rowz", "10" }, "--rowz" },
        // the versions it knows, named
        { { "--version", "X.99" },
            "--version: no store version \"X.99\"; the versions: \"Ver 3.1 "
            "SQL\", \"V.31\"" },
        { { "--version", "v.31" }, "\"P.68 (Bar)\", \"D.47 (Bar)\"" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        try {
            bench::ParseOptions(c.args);
            ADD_FAILURE() << "accepted";
        } catch (const rt::RunError& e) {
            EXPECT_TRUE(e.message().contains(QLatin1String(c.option))) << e.message().toStdString();
        }
    }
}

} // namespace
