// A part staged more than once: each staged row that the part's dequeue removes, as the store
// compares (letter case ignored, of ASCII letters only, or not at all), links its replacement
// numbers, whatever order the store gives the rows of one number in; a row of another kind
// waits for a turn of its own.
#include "app/members.h"
#include "storekit/classic.h"
#include "storekit/pta_store.h"
#include "support/fake_window.h"
#include "support/lines.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"
#include "support/staged_parts.h"

#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>

namespace {

constexpr int kBrand = 12;

using Member = void (*)(frmKordane&, int16_t&);

struct MemberCase {
    const char* name;
    const char* version;
    Member member;
    bool pta; // the Pta_ schema
    bool odbc; // the store on the SQL server
};

void PrintTo(const MemberCase& c, std::ostream* os) {
    *os << c.name;
}

const MemberCase kMembers[] = {
    { "V31", "V.31", insert::InsertNewPartsV31, false, false },
    { "Sql31Odbc", "Ver 3.1 SQL", insert::InsertNewPartsSql31, false, true },
    { "P68", "P.68 (Bar)", pta::InsertNewPartsP68, true, false },
    { "P66Odbc", "P.66 (Bar)", pta::InsertNewPartsP66, true, true },
};

// Every row of a two-column query.
std::vector<std::pair<QString, QString>> pairs(ado::Connection& cn, const QString& sql) {
    std::vector<std::pair<QString, QString>> out;
    ado::Recordset rs;
    rs.Open(sql, cn);
    for (; !rs.Eof(); rs.MoveNext())
        out.push_back(
            { rs.Field(QStringLiteral("A")).toText(), rs.Field(QStringLiteral("B")).toText() });
    rs.Close();
    return out;
}

// The parts, groups and queue of a store, read back schema by schema.
class StoreRows {
public:
    StoreRows(ado::Connection& cn, const MemberCase& m)
        : cn_(cn)
        , pta_(m.pta)
        , sfx_(m.pta ? storekit::PtaSuffix(QLatin1String(m.version), kBrand)
                     : QString::number(kBrand)) { }

    // The store's parts as number/kind (the kind left off when blank), sorted.
    QStringList parts() {
        QStringList out;
        for (const auto& [code, unused] : pairs(cn_,
                 QStringLiteral("Select %1 As A, PartID As B From %2")
                     .arg(codeColumn(), partTable())))
            out << label(code);
        out.sort();
        return out;
    }

    // Each replacement group once, its members sorted and joined by blanks.
    QStringList groups() {
        std::map<QString, std::set<QString>> linked;
        for (const auto& [a, b] : pairs(cn_,
                 QStringLiteral("Select p.%1 As A, a.%1 As B From %2 g, %3 p, %3 a Where p.PartID "
                                "= g.PartID And a.PartID = g.AltID")
                     .arg(codeColumn(), groupTable(), partTable()))) {
            linked[label(a)].insert(label(b));
            linked[label(b)].insert(label(a));
        }
        std::set<QString> out;
        for (auto& [part, members] : linked) {
            members.insert(part);
            out.insert(QStringList(members.begin(), members.end()).join(QLatin1Char(' ')));
        }
        return QStringList(out.begin(), out.end());
    }

    QStringList queue() {
        return QueryRows(
            cn_, QStringLiteral("Kind, PartNO"), QStringLiteral("PriceList Order By PartNO, Kind"));
    }

private:
    QString partTable() const {
        return (pta_ ? QStringLiteral("Pta_") : QStringLiteral("Pta")) + sfx_;
    }
    QString groupTable() const {
        return (pta_ ? QStringLiteral("Pta_AltG_") : QStringLiteral("AltG")) + sfx_;
    }
    // the part code "kind-number" of the classic schema, the part key "number-kind" of Pta_
    QString codeColumn() const {
        return pta_ ? QStringLiteral("PartNO") : QStringLiteral("PartCode");
    }
    QString label(const QString& code) const {
        const qsizetype dash = code.indexOf(QLatin1Char('-'));
        if (dash < 0) return code;
        const QString before = code.left(dash), after = code.mid(dash + 1);
        return pta_ ? before + QLatin1Char('/') + after : after + QLatin1Char('/') + before;
    }

    ado::Connection& cn_;
    bool pta_;
    QString sfx_;
};

// A store of the member's version and schema, its queue indexed by number so that rows of one
// number come in the order staged.
class RepeatStore {
    const MemberCase& m_;

public:
    explicit RepeatStore(const MemberCase& m)
        : m_(m) {
        const QString dir = testenv::TempDir();
        const QString path = dir + QStringLiteral("/Velandor.accdb");
        const QString version = QLatin1String(m.version);
        if (m.pta)
            storekit::CreatePtaStore(path, version, kBrand);
        else
            storekit::CreateClassicStore(path, version, kBrand);
        fx.useStore(dir + QStringLiteral("/PriceList_VURE.mdb"), path, kBrand, version, m.odbc);
        storekit::OpenFile(cn, path);
        IndexStaging(cn);
    }

    void run() {
        int16_t n = 1;
        m_.member(fx.form, n);
    }

    // The staging table made anew with texts that compare with letter case.
    void stagingWithCase() {
        remakeStaging([](QString& ddl) {
            ASSERT_TRUE(ddl.contains(QLatin1String("COLLATE NOCASE")));
            ddl.replace(QLatin1String("COLLATE NOCASE"), QLatin1String("COLLATE BINARY"));
        });
    }

    // The staging table made anew with its prices untyped, so that a price keeps the type it
    // was written with (and the server's driver types a result's price column by its values).
    void untypedPrices() {
        remakeStaging([](QString& ddl) {
            static const QRegularExpression typed(QStringLiteral("\\b(Price|Sale) \\w+"));
            ASSERT_TRUE(ddl.contains(typed));
            ddl.replace(typed, QStringLiteral("\\1"));
        });
    }

    FormFixture fx;
    ado::Connection cn;
    StoreRows rows { cn, m_ };

private:
    void remakeStaging(const std::function<void(QString&)>& change) {
        QString ddl = QueryRows(cn, QStringLiteral("sql"),
            QStringLiteral("sqlite_master Where type = 'table' And name = 'PriceList'"))
                          .value(0);
        change(ddl);
        cn.Execute(QStringLiteral("DROP TABLE PriceList"));
        cn.Execute(ddl);
        IndexStaging(cn);
    }
};

class StagedRepeats : public ::testing::TestWithParam<std::tuple<MemberCase, bool>> {
protected:
    const MemberCase& member() const { return std::get<0>(GetParam()); }
    bool countsWithheld() const { return std::get<1>(GetParam()); }
};

TEST_P(StagedRepeats, EveryRowTheDequeueRemovesLinksItsReplacementNumbers) {
    struct Case {
        const char* name;
        std::vector<Staged> staged; // in the order the store gives them
        QStringList parts, groups;
        bool withCase = false; // the staging table compares with letter case
    };
    auto row = [](const char* kind, const char* number, std::vector<const char*> alts) {
        Staged s { .kind = kind, .partNo = number, .eName = "X" };
        for (const char* a : alts)
            s.alts.push_back({ QString(), QLatin1String(a) });
        return s;
    };
    const Case cases[] = {
        { "a row of another kind between two of the same kind",
            { row("0", "IK1", { "IKA" }), row("1", "IK1", { "IKB" }), row("0", "IK1", { "IKC" }) },
            { "IK1/0", "IK1/1", "IKA", "IKB", "IKC" }, { "IK1/0 IKA IKC", "IK1/1 IKB" } },
        { "the number in two letter cases",
            { row("0", "CV1", { "CVA" }), row("0", "cv1", { "CVB" }) }, { "CV1/0", "CVA", "CVB" },
            { "CV1/0 CVA CVB" } },
        { "the kind in two letter cases",
            { row("a", "KC1", { "KCA" }), row("A", "KC1", { "KCB" }) }, { "KC1/a", "KCA", "KCB" },
            { "KC1/a KCA KCB" } },
        { "a blank kind takes every kind and letter case",
            { row("", "BK1", { "BKA" }), row("1", "bk1", { "BKB" }) }, { "BK1", "BKA", "BKB" },
            { "BK1 BKA BKB" } },
        { "two kinds keep their own replacement numbers",
            { row("0", "TK1", { "TKA" }), row("1", "TK1", { "TKB" }) },
            { "TK1/0", "TK1/1", "TKA", "TKB" }, { "TK1/0 TKA", "TK1/1 TKB" } },
        // the staging table folds ASCII letters only: two numbers, two parts
        { "a letter beyond ASCII in two letter cases",
            { row("0", "ÄB1", { "AB1A" }), row("0", "äb1", { "AB1B" }) },
            { "AB1A", "AB1B", "ÄB1/0", "äb1/0" }, { "AB1A ÄB1/0", "AB1B äb1/0" } },
        { "a staging table that compares with letter case",
            { row("0", "XC1", { "XCA" }), row("0", "xc1", { "XCB" }) }, { "XC1/0", "XCA", "XCB" },
            { "XC1/0 XCA XCB" }, true },
    };
    std::optional<testenv::WithheldRowCounts> noCounts;
    if (countsWithheld()) noCounts.emplace();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RepeatStore s(member());
        if (c.withCase) s.stagingWithCase();
        for (const Staged& staged : c.staged)
            StageRow(s.cn, kBrand, staged);
        testenv::Trace trace;
        s.run();
        EXPECT_LINES(s.rows.parts(), c.parts);
        EXPECT_LINES(s.rows.groups(), c.groups);
        EXPECT_LINES(s.rows.queue(), QStringList());
        // a row gathered by one part and taken again as a part of its own links twice
        for (const Staged& staged : c.staged)
            for (const auto& [unused, alt] : staged.alts) {
                const QString lookup = QStringLiteral("PartNO = '") + alt + QLatin1Char('\'');
                EXPECT_EQ(trace.startingWith(QStringLiteral("Select PartID From "))
                              .filter(QRegularExpression(QRegularExpression::escape(lookup) + '$'))
                              .size(),
                    1)
                    << alt.toStdString();
            }
    }
}

// The head is told among the rows its removal selects by what its row holds: a price that comes
// as a whole number in one result and as a decimal in the next is the same price (a server may
// type a result's column by the values in it; here the store holds it so between the two reads).
TEST_P(StagedRepeats, HeadIsToldByWhatItsRowHolds) {
    std::optional<testenv::WithheldRowCounts> noCounts;
    if (countsWithheld()) noCounts.emplace();
    RepeatStore s(member());
    s.untypedPrices();
    StageRow(s.cn, kBrand, { .kind = "0", .partNo = "TV1", .eName = "X", .price = "450" });
    bool retyped = false;
    ado::SetTraceHook([&](const QString& statement) {
        if (retyped || !statement.startsWith(QLatin1String("Select Kind"))
            || !statement.contains(QLatin1String("PartNO = 'TV1'")))
            return;
        retyped = true;
        s.cn.Execute(QStringLiteral("Update PriceList Set Price = CAST(Price AS REAL)"));
    });
    s.run();
    ado::SetTraceHook(nullptr);
    ASSERT_TRUE(retyped);
    EXPECT_LINES(s.rows.parts(), QStringList({ "TV1/0" }));
    EXPECT_LINES(s.rows.queue(), QStringList());
}

// A head that its own removal does not select (changed since it was read) would stay queued:
// nothing of its part is written.
TEST_P(StagedRepeats, HeadItsRemovalLeavesIsNotWritten) {
    std::optional<testenv::WithheldRowCounts> noCounts;
    if (countsWithheld()) noCounts.emplace();
    RepeatStore s(member());
    StageRow(s.cn, kBrand, { .kind = "0", .partNo = "RN1", .eName = "X" });
    QStringList statements;
    ado::SetTraceHook([&](const QString& statement) {
        statements << statement;
        if (statement.startsWith(QLatin1String("Select Kind"))
            && statement.contains(QLatin1String("PartNO = 'RN1'")))
            s.cn.Execute(QStringLiteral("Update PriceList Set PartNO = 'RN2'"));
    });
    try {
        s.run();
        ADD_FAILURE() << "the run went on";
    } catch (const rt::RunError& e) {
        EXPECT_EQ(e.message(),
            QStringLiteral("The staged part 0-RN1 could not be removed from PriceList"));
    }
    ado::SetTraceHook(nullptr);
    EXPECT_FALSE(s.fx.form.cnStore().inTransaction());
    EXPECT_LINES(
        statements.filter(QRegularExpression(QStringLiteral("^Insert Into"))), QStringList());
    EXPECT_LINES(s.rows.parts(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Members, StagedRepeats,
    ::testing::Combine(::testing::ValuesIn(kMembers), ::testing::Bool()), [](const auto& info) {
        return std::string(std::get<0>(info.param).name)
            + (std::get<1>(info.param) ? "NoCounts" : "");
    });

// With no row counts, a dequeue that leaves a row of its part behind stops the run before its
// commit, and so does one that finds no row of it (renamed while its part is written).
TEST(StagedRepeatsNoCounts, RowLeftBehindStopsBeforeTheCommit) {
    struct Case {
        const char* name;
        const char* trigger;
        QStringList parts, queue;
    };
    const Case cases[] = {
        { "the store keeps the row through its dequeue",
            "CREATE TRIGGER behind BEFORE DELETE ON PriceList WHEN OLD.Kind = '0' "
            "BEGIN SELECT RAISE(IGNORE); END",
            {}, { "0|DQ1", "1|DQ1" } },
        { "the row no longer matches its own dequeue",
            "CREATE TRIGGER behind AFTER INSERT ON Pta12 WHEN NEW.Kind = '0' "
            "BEGIN UPDATE PriceList SET PartNO = 'DQ1 ' WHERE Kind = '0'; END",
            {}, { "0|DQ1", "1|DQ1" } },
    };
    for (const MemberCase& m : { kMembers[0], kMembers[1] })
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(m.name) + ": " + c.name);
            RepeatStore s(m);
            StageRow(s.cn, kBrand, { .kind = "0", .partNo = "DQ1", .eName = "X" });
            StageRow(s.cn, kBrand, { .kind = "1", .partNo = "DQ1", .eName = "X" });
            s.cn.Execute(QLatin1String(c.trigger));
            testenv::WithheldRowCounts noCounts;
            try {
                s.run();
                ADD_FAILURE() << "the run went on";
            } catch (const rt::RunError& e) {
                EXPECT_EQ(e.message(),
                    QStringLiteral("The staged part 0-DQ1 could not be removed from PriceList"));
            }
            // what the UpDate handler does with the transaction in hand
            s.fx.form.cnStore().RollbackTrans();
            EXPECT_LINES(s.rows.parts(), c.parts);
            EXPECT_LINES(s.rows.queue(), c.queue);
        }
}

// Whole runs: the staging table the run creates compares as the store does, and the store gives
// the rows of one number in the order of their first replacement number, so that a row of
// another kind comes between two of the same kind.
class StagedRepeatsInARun : public ::testing::TestWithParam<std::tuple<bool, bool>> { };

TEST_P(StagedRepeatsInARun, EveryRowTheDequeueRemovesLinksItsReplacementNumbers) {
    const auto [odbc, countsWithheld] = GetParam();
    const MemberCase& m = odbc ? kMembers[1] : kMembers[0];
    testenv::RunFiles files;
    storekit::CreateClassicStore(files.store, QLatin1String(m.version), kBrand);
    auto price = [](const char* kind, const char* number, const char* alt) {
        return storekit::MakePriceRow(QLatin1String(kind), QString::fromUtf8(number),
            QStringLiteral("X"), QString(), 10, 0, { QLatin1String(alt) });
    };
    storekit::CreatePriceList(files.priceList,
        { { 1,
            { price("0", "IK1", "IKA"), price("1", "IK1", "IKB"), price("0", "IK1", "IKC"),
                price("0", "CV1", "CVA"), price("0", "cv1", "CVB"), price("a", "KC1", "KCA"),
                price("A", "KC1", "KCB"), price("0", "ÄB1", "AB1A"),
                price("0", "äb1", "AB1B") } } });
    FormFixture fx;
    if (odbc)
        fx.useSqlServerStore(files.priceList, files.store);
    else
        fx.useDesktopStore(files.priceList, files.store);
    bool reordered = false;
    ado::SetTraceHook([&](const QString& statement) {
        if (reordered || !statement.startsWith(QLatin1String("Insert Into PriceList"))) return;
        reordered = true;
        ado::Connection& cn = fx.form.cnStore();
        for (const QString& index : QueryRows(cn, QStringLiteral("name"),
                 QStringLiteral("sqlite_master Where type = 'index' And tbl_name = 'PriceList'")))
            cn.Execute(QStringLiteral("DROP INDEX ") + index);
        cn.Execute(QStringLiteral("CREATE INDEX Ties ON PriceList (BrandID, PartNO, AltNO_1)"));
    });
    std::optional<testenv::WithheldRowCounts> noCounts;
    if (countsWithheld) noCounts.emplace();
    fx.form.cmdUpDate_Click();
    ado::SetTraceHook(nullptr);
    noCounts.reset();

    ASSERT_TRUE(reordered);
    ASSERT_EQ(fx.window.messages.size(), 1u);
    EXPECT_EQ(fx.window.messages[0].text, QStringLiteral("เสร็จแล้วจ้า"));
    ado::Connection cn;
    storekit::OpenFile(cn, files.store);
    StoreRows rows(cn, m);
    EXPECT_LINES(rows.parts(),
        QStringList({ "AB1A", "AB1B", "CV1/0", "CVA", "CVB", "IK1/0", "IK1/1", "IKA", "IKB", "IKC",
            "KC1/a", "KCA", "KCB", "ÄB1/0", "äb1/0" }));
    EXPECT_LINES(rows.groups(),
        QStringList({ "AB1A ÄB1/0", "AB1B äb1/0", "CV1/0 CVA CVB", "IK1/0 IKA IKC", "IK1/1 IKB",
            "KC1/a KCA KCB" }));
    EXPECT_LINES(rows.queue(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Roads, StagedRepeatsInARun,
    ::testing::Combine(::testing::Bool(), ::testing::Bool()), [](const auto& info) {
        return std::string(std::get<0>(info.param) ? "SqlServer" : "Access")
            + (std::get<1>(info.param) ? "NoCounts" : "");
    });

} // namespace
