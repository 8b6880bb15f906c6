// New-part insertion into stores of "P.49 (Bar)", "P.52", "P.61 (Bar)", "P.64 (Bar)" and
// "P.65 (Bar)": the statements of one drain, the rows it leaves, and whole runs.
#include "app/members.h"
#include "platform/runtime/text.h"
#include "storekit/classic.h"
#include "support/fake_window.h"
#include "support/odbc_env.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using storekit::ClassicPart;

std::vector<std::string> Utf8(const QStringList& lines) {
    std::vector<std::string> out;
    for (const QString& l : lines)
        out.push_back(l.toStdString());
    return out;
}
#define EXPECT_ROWS(actual, ...) EXPECT_EQ(Utf8(actual), Utf8(QStringList(__VA_ARGS__)))

const QString kThai = QStringLiteral("แหวนลูกสูบ");

// A staged part: kind and number, replacement slots as "kind:number".
PriceFields Part(const QString& kind, const QString& number, const QStringList& alts = {}) {
    PriceFields r;
    r.Kind = kind;
    r.PartNO = number;
    for (int k = 0; k < alts.size(); ++k) {
        r.AKind[k] = alts[k].section(QLatin1Char(':'), 0, 0);
        r.AltNO[k] = alts[k].section(QLatin1Char(':'), 1);
    }
    r.EName = QStringLiteral("RING SET");
    r.TName = kThai;
    r.Model[0] = QStringLiteral("M1");
    r.Model[2] = QStringLiteral(" M3 ");
    r.Description = QStringLiteral("O'RING");
    r.Import = QStringLiteral("JP");
    r.Price = rt::Currency::fromDouble(125.5);
    r.DisPrice = QStringLiteral("5%");
    r.Sale = rt::Currency::fromDouble(100);
    return r;
}

ClassicPart Stored(int id, const char* kind, const char* number) {
    ClassicPart p;
    p.partId = id;
    p.kind = QLatin1String(kind);
    p.partNo = QLatin1String(number);
    p.eName = QStringLiteral("OLD");
    p.withSideRows = false;
    return p;
}

// A classic store of one version holding brand 12, and a loaded form on it.
class Store {
public:
    Store(const char* version, const std::vector<ClassicPart>& parts = {}) {
        const QString dir = testenv::TempDir();
        const QString path = dir + QStringLiteral("/store.accdb");
        storekit::CreateClassicStore(path, QLatin1String(version), 12, parts);
        fx.useDesktopStore(dir + QStringLiteral("/PriceList_VURE.mdb"), path);
        fx.form.mBrandID = 12;
        fx.form.mStoreVersion = QLatin1String(version);
        storekit::OpenFile(cn, path);
    }

    void stage(const PriceFields& r) {
        auto q
            = [](const QString& s) { return QLatin1Char('\'') + rt::Quote(s) + QLatin1Char('\''); };
        QStringList v { QStringLiteral("12"), q(r.PartNO), q(r.Kind) };
        for (int k = 0; k < 5; ++k)
            v << q(r.AltNO[k]) << q(r.AKind[k]);
        v << q(r.EName) << q(r.TName);
        for (const QString& m : r.Model)
            v << q(m);
        v << q(r.Description) << q(r.Import) << r.Price.toText() << q(r.DisPrice)
          << r.Sale.toText();
        cn.Execute(QStringLiteral("Insert Into PriceList Values( ") + v.join(QStringLiteral(", "))
            + QStringLiteral(" )"));
    }

    // The insertion dispatcher, as a pass calls it after a price-list table.
    void drain(int16_t n = 3) { fx.form.InsertNewParts(n); }

    // The rows of "Select <columns> From <rest>", each as its values joined by "|".
    QStringList rows(const QString& columns, const QString& rest) {
        ado::Recordset rs;
        rs.Open(QStringLiteral("Select ") + columns + QStringLiteral(" From ") + rest, cn);
        QStringList out;
        for (; !rs.Eof(); rs.MoveNext()) {
            QStringList cells;
            for (const QString& c : columns.split(QStringLiteral(", ")))
                cells << rs.Field(c).textOrEmpty();
            out << cells.join(QLatin1Char('|'));
        }
        rs.Close();
        return out;
    }
    QStringList parts() {
        return rows(QStringLiteral("PartID, Kind, FPartNO, PartNO"),
            QStringLiteral("Pta12 Order By PartID"));
    }
    QStringList groups() {
        return rows(
            QStringLiteral("PartID, AltID"), QStringLiteral("AltG12 Order By PartID, AltID"));
    }
    QStringList queue() {
        return rows(QStringLiteral("Kind, PartNO"), QStringLiteral("PriceList Order By PartNO"));
    }

    FormFixture fx;
    ado::Connection cn;
};

const char* const kVersions[] = { "P.49 (Bar)", "P.52", "P.61 (Bar)", "P.64 (Bar)", "P.65 (Bar)" };

// The statements of one staged part with a new, a repeated and a stored replacement number.
struct GoldenCase {
    const char* version;
    QStringList lookups; // main part, slot 1, slot 3
    QString mainRow, slotRow; // the values of Pta12
    QString mainCode, slotCode; // the values of Alt12
    QString placeholder;
};

void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.version;
}

class Golden : public ::testing::TestWithParam<GoldenCase> { };

TEST_P(Golden, StatementsOfOneStagedPart) {
    const GoldenCase& c = GetParam();
    Store s(c.version, { Stored(40, "C", "P3") });
    s.stage(Part("A", "P-1/X", { "B:P-2", ":P-1/X", "C:P3" }));
    QStringList trace;
    ado::SetTraceHook([&trace](const QString& t) {
        for (const char* head : { "Select PartID From Pta12", "Insert Into Pta12",
                 "Insert Into Alt12", "Delete From Alt12", "Delete From PriceList" })
            if (t.startsWith(QLatin1String(head))) trace << t;
    });
    s.drain();
    ado::SetTraceHook(nullptr);

    auto insert = [](const char* table, const QString& values) {
        return QStringLiteral("Insert Into %1 Values( %2 )").arg(QLatin1String(table), values);
    };
    EXPECT_ROWS(trace,
        { c.lookups[0], insert("Pta12", c.mainRow), insert("Alt12", c.mainCode), c.lookups[1],
            insert("Pta12", c.slotRow), insert("Alt12", c.slotCode), c.lookups[2],
            "Delete From PriceList Where BrandID = 12 And Kind = 'A' And PartNO = 'P-1/X'",
            "Delete From Alt12 Where AltID = 0", insert("Alt12", c.placeholder) });
}

const QString kByNumber[] = {
    QStringLiteral("Select PartID From Pta12 Where Kind = 'A' And PartNO = 'P-1/X'"),
    QStringLiteral("Select PartID From Pta12 Where Kind = 'B' And PartNO = 'P-2'"),
    QStringLiteral("Select PartID From Pta12 Where Kind = 'C' And PartNO = 'P3'"),
};
// the kind only for the staged part itself
const QString kBySqueezed[] = {
    QStringLiteral("Select PartID From Pta12 Where Kind = 'A' And FPartNO = 'P1X'"),
    QStringLiteral("Select PartID From Pta12 Where FPartNO = 'P2'"),
    QStringLiteral("Select PartID From Pta12 Where FPartNO = 'P3'"),
};
const QString kFourCodes[] = { QStringLiteral("41, 'A', 'P-1/X', 125.5"),
    QStringLiteral("42, 'B', 'P-2', 125.5"), QStringLiteral("0, '', '', 0") };

const GoldenCase kP64 { "P.64 (Bar)", { kBySqueezed[0], kBySqueezed[1], kBySqueezed[2] },
    "0, 0, 41, 'A', 'P1X', 'P-1/X', 'B', 'P-2', '', 'P-1/X', 'RING SET  M1, M3', 'RING SET', "
    "'แหวนลูกสูบ  M1, M3', 'แหวนลูกสูบ', 'O''RING', 'M1, M3', '', 'JP', 125.5, 0, 100, 0, 0, '', "
    "0, 0, 0, 0, 0, '', '', 0, 0, 0, '', ''",
    "0, 0, 42, 'B', 'P2', 'P-2', '', '', '', 'P-2', 'RING SET  M1, M3', 'RING SET', "
    "'แหวนลูกสูบ  M1, M3', 'แหวนลูกสูบ', '', 'M1, M3', '', '', 125.5, 0, 100, 0, 0, '', "
    "0, 0, 0, 0, 0, '', '', 0, 0, 0, '', ''",
    kFourCodes[0], kFourCodes[1], kFourCodes[2] };

GoldenCase P65() {
    GoldenCase c = kP64;
    c.version = "P.65 (Bar)";
    return c;
}

INSTANTIATE_TEST_SUITE_P(Versions, Golden,
    ::testing::Values(
        GoldenCase { "P.52", { kByNumber[0], kByNumber[1], kByNumber[2] },
            "0, 41, 'A', '', 'P-1/X', 'B', 'P-2', '', 'RING SET  M1, M3', 'RING SET', "
            "'แหวนลูกสูบ  M1, M3', 'แหวนลูกสูบ', 'O''RING', 'M1, M3', '', 'JP', 125.5, 0, 100, 0, "
            "0, '', 0, 0, 0, 0, '', 0, 12, 0, 0, 'A-P-1/X', 0, 0, 0, 0, 0, 0",
            "0, 42, 'B', '', 'P-2', '', '', '', 'RING SET  M1, M3', 'RING SET', "
            "'แหวนลูกสูบ  M1, M3', 'แหวนลูกสูบ', '', 'M1, M3', '', '', 125.5, 0, 100, 0, "
            "0, '', 0, 0, 0, 0, '', 0, 12, 0, 0, 'B-P-2', 0, 0, 0, 0, 0, 0",
            kFourCodes[0], kFourCodes[1], kFourCodes[2] },
        GoldenCase { "P.61 (Bar)", { kByNumber[0], kByNumber[1], kByNumber[2] },
            "0, 41, 'A', 'P1X', 'P-1/X', 'B', 'P-2', '', 'RING SET', 'หแวนลูกสูบ', 'แหวนลูกสูบ', "
            "'O''RING', 'M1, M3', '', 'JP', '', 125.5, '5%', 100, '', 0, 0, 0, 1, 0, '', 0, 0, 0, "
            "0, 0, 12, 0, 0, 'A-P-1/X', 0, 0, 0, 0, 0, 0, 0",
            "0, 42, 'B', 'P2', 'P-2', '', '', '', 'RING SET', 'หแวนลูกสูบ', 'แหวนลูกสูบ', "
            "'', 'M1, M3', '', '', '', 125.5, '5%', 100, '', 0, 0, 0, 1, 0, '', 0, 0, 0, "
            "0, 0, 12, 0, 0, 'B-P-2', 0, 0, 0, 0, 0, 0, 0",
            kFourCodes[0], kFourCodes[1], kFourCodes[2] },
        kP64, P65(),
        GoldenCase { "P.49 (Bar)", { kBySqueezed[0], kBySqueezed[1], kBySqueezed[2] },
            "0, 41, 'A', 'P1X', 'P-1/X', 'P-1/X', 'B', 'P-2', '', 'RING SET', 'หแวนลูกสูบ', "
            "'แหวนลูกสูบ', 'O''RING', 'M1, M3', '', 'JP', '', 125.5, '5%', 100, '', '', 1, 0, 0, 0, "
            "0",
            "0, 42, 'B', 'P2', 'P-2', 'P-2', '', '', '', 'RING SET', 'หแวนลูกสูบ', "
            "'แหวนลูกสูบ', '', 'M1, M3', '', '', '', 125.5, '5%', 100, '', '', 1, 0, 0, 0, "
            "0",
            "41, 1, 'A', 'P-1/X', 125.5, 100", "42, 1, 'B', 'P-2', 125.5, 100",
            "0, 0, '', '', 0, 0" }),
    [](const auto& info) {
        std::string name = info.param.version;
        std::erase_if(name, [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); });
        return name;
    });

} // namespace
