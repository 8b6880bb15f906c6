// Whole runs whose price list brings chains of new parts, each replaced by the next, on a classic
// and on both Pta_ stores: every part of a chain stored once, the chain one closed group.
#include "storekit/classic.h"
#include "storekit/pta_store.h"
#include "support/fake_window.h"
#include "support/lines.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"

#include <gtest/gtest.h>
#include <map>

namespace {

const QString kPassword = QStringLiteral("KWZ730258");

// One link of a list row: "kind/number" (a blank kind as "/number").
struct Number {
    QString kind, partNo;
    static Number of(const char* text) {
        const QString t = QString::fromUtf8(text);
        const qsizetype slash = t.indexOf(QLatin1Char('/'));
        return { t.left(slash), t.mid(slash + 1) };
    }
};

struct Schema {
    const char* version;
    bool pta;
};

void PrintTo(const Schema& s, std::ostream* os) {
    *os << s.version;
}

class ChainRun : public ::testing::TestWithParam<Schema> {
protected:
    testenv::RunFiles files;
    int brand() const { return GetParam().pta ? 7 : 12; }
    QString parts() const {
        return GetParam().pta ? QStringLiteral("Pta_") + storekit::PtaSuffix(GetParam().version, 7)
                              : QStringLiteral("Pta12");
    }
    QString groupRows() const {
        return GetParam().pta
            ? QStringLiteral("Pta_AltG_") + storekit::PtaSuffix(GetParam().version, 7)
            : QStringLiteral("AltG12");
    }
    // A part as the store keeps it: kind and number apart in the classic schema, one squeezed
    // key in the Pta_ schema.
    QString stored(const Number& n) const {
        if (!GetParam().pta) return n.kind + QLatin1Char('|') + n.partNo;
        QString key = n.partNo;
        key.remove(QLatin1Char('-'));
        return n.kind.isEmpty() ? key : key + QLatin1Char('-') + n.kind;
    }
    QStringList query(const QString& sql) const {
        return testenv::QueryRows(files.store, sql, QStringLiteral("0"), kPassword);
    }

    // One list row for each link: the part and the next number of the chain (none for the last).
    void run(const std::vector<std::pair<const char*, const char*>>& rows) {
        files = testenv::RunFiles {};
        std::vector<PriceRow> list;
        for (const auto& [part, next] : rows) {
            const Number p = Number::of(part);
            PriceRow r = storekit::MakePriceRow(p.kind, p.partNo,
                QStringLiteral("PART ") + p.partNo, QString(), 100, 0,
                next ? QStringList { Number::of(next).partNo } : QStringList());
            if (next) r.AKind[0] = Number::of(next).kind;
            list.push_back(r);
        }
        storekit::CreatePriceList(files.priceList, { { 1, list } }, QStringLiteral("PLN394"));
        if (GetParam().pta)
            storekit::CreatePtaStore(files.store, GetParam().version, 7, {}, kPassword);
        else
            storekit::CreateClassicStore(files.store, GetParam().version, 12, {}, kPassword);
        FormFixture fx;
        fx.useDesktopStore(files.priceList, files.store);
        fx.form.cmdUpDate_Click();
        ASSERT_EQ(fx.window.messages.size(), 1u);
        EXPECT_EQ(fx.window.messages[0].text, QStringLiteral("เสร็จแล้วจ้า"));
    }

    QStringList storedParts() const {
        return query((GetParam().pta ? QStringLiteral("Select PartNO From ")
                                     : QStringLiteral("Select Kind, PartNO From "))
            + parts() + QStringLiteral(" Order By PartID"));
    }

    // The group rows as "part>partner" (a lone row as "part>0"), sorted.
    QStringList links() const {
        std::map<QString, QString> names { { QStringLiteral("0"), QStringLiteral("0") } };
        const QStringList ids
            = query((GetParam().pta ? QStringLiteral("Select PartID, PartNO From ")
                                    : QStringLiteral("Select PartID, Kind, PartNO From "))
                + parts());
        for (const QString& row : ids)
            names[row.section(QLatin1Char('|'), 0, 0)] = row.section(QLatin1Char('|'), 1);
        QStringList out;
        for (const QString& row : query(QStringLiteral("Select PartID, AltID From ") + groupRows()))
            out << names[row.section(QLatin1Char('|'), 0, 0)] + QLatin1Char('>')
                    + names[row.section(QLatin1Char('|'), 1)];
        out.sort();
        return out;
    }

    // Every member linked to every other, and nothing else.
    QStringList closedGroup(const std::vector<Number>& members) const {
        QStringList out;
        for (const Number& a : members)
            for (const Number& b : members)
                if (a.partNo != b.partNo) out << stored(a) + QLatin1Char('>') + stored(b);
        out.sort();
        return out;
    }
};

TEST_P(ChainRun, EveryLinkOfAChainOfNewPartsIsStoredOnceInOneGroup) {
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, const char*>> rows;
        std::vector<const char*> parts; // in the order they are stored
        // a last link of another kind is also staged bare, and found stored by then: its lone
        // row, as after any new part with a new replacement number of another kind
        const char* lone;
    };
    const Case cases[] = {
        { "last link with the kind of the one before",
            { { "1/A-1", "2/B-1" }, { "2/B-1", "2/C-1" } }, { "1/A-1", "2/B-1", "2/C-1" },
            nullptr },
        { "last link with a blank kind", { { "1/A-1", "2/B-1" }, { "2/B-1", "/C-1" } },
            { "1/A-1", "2/B-1", "/C-1" }, "/C-1" },
        { "three new links", { { "1/A-1", "2/B-1" }, { "2/B-1", "3/C-1" }, { "3/C-1", "4/D-1" } },
            { "1/A-1", "2/B-1", "3/C-1", "4/D-1" }, "4/D-1" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        run(c.rows);
        std::vector<Number> members;
        QStringList expected;
        for (const char* p : c.parts) {
            members.push_back(Number::of(p));
            expected << stored(members.back());
        }
        EXPECT_LINES(storedParts(), expected);
        QStringList group = closedGroup(members);
        if (c.lone) group << stored(Number::of(c.lone)) + QStringLiteral(">0");
        group.sort();
        EXPECT_LINES(links(), group);
    }
}

// Two new parts replaced by the same new number stage two bare copies of it: the number is
// stored once, and the copies only add its lone group row, as for any staged part found.
TEST_P(ChainRun, ANumberStagedTwiceBareIsStoredOnce) {
    run({ { "1/A-1", "2/X-1" }, { "1/B-1", "2/X-1" } });
    const QString a = stored(Number::of("1/A-1")), b = stored(Number::of("1/B-1")),
                  x = stored(Number::of("2/X-1"));
    EXPECT_LINES(storedParts(), QStringList({ a, x, b }));
    QStringList expected { a + QLatin1Char('>') + x, b + QLatin1Char('>') + x,
        x + QLatin1Char('>') + b, x + QStringLiteral(">0") };
    expected.sort();
    EXPECT_LINES(links(), expected);
}

INSTANTIATE_TEST_SUITE_P(Stores, ChainRun,
    ::testing::Values(
        Schema { "V.31", false }, Schema { "P.66 (Bar)", true }, Schema { "P.68 (Bar)", true }),
    [](const auto& info) { return testenv::ParamName(info.param.version); });

} // namespace
