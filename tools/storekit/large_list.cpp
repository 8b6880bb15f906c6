// Large stand-in stores and price lists, written row by row, and the checks of what a run left
// in such a store. The classic and the Pta_ schema differ only in the tables and keys of Schema.
#include "large_list.h"

#include "app/frmKordane.h"
#include "classic.h"
#include "pta_store.h"

#include "platform/runtime/text.h"

#include <algorithm>

namespace storekit {

namespace {

QString storeNumber(int i) {
    return QStringLiteral("%1-%2").arg(10000 + i / 10000).arg(i % 10000, 5, 10, QLatin1Char('0'));
}

// Where a schema keeps what the generator and the checks read.
struct Schema {
    QString parts, prices, groups; // the brand's part table, price rows by AltID, group by PartID
    QString noPriceRow; // how a part without its price row is reported
    QString counter; // NameID of the part-key counter in LastID
    QString identity, partText; // part-table columns no two parts share, and them as one text
    QString kindColumn; // empty: the kind is kept in PartNO ("<number>-<kind>")
    QString storeKey, listKey; // a list number n of kind k is in the store when its listKey is
                               // among the parts' storeKey
};

Schema schemaOf(const QString& version, int brandId) {
    if (IsPtaVersion(version)) {
        const QString sfx = PtaSuffix(version, brandId);
        if (sfx.isEmpty())
            throw rt::RunError(QStringLiteral("brand key %1 too large").arg(brandId));
        // the match key: number and kind without blanks, "/" and "-"
        return { QStringLiteral("Pta_") + sfx, QStringLiteral("Pta_Alt_") + sfx,
            QStringLiteral("Pta_AltG_") + sfx, QStringLiteral("no price row"),
            QStringLiteral("PartID"), QStringLiteral("FPartNO"), QStringLiteral("PartNO"), {},
            QStringLiteral("FPartNO"),
            QStringLiteral(
                "replace(replace(replace(n || Coalesce(k, ''), ' ', ''), '/', ''), '-', '')") };
    }
    const QString parts = QStringLiteral("Pta%1").arg(brandId);
    return { parts, QStringLiteral("Alt%1").arg(brandId), QStringLiteral("AltG%1").arg(brandId),
        QStringLiteral("no code row"), parts, QStringLiteral("Kind, PartNO"),
        QStringLiteral("Kind || '-' || PartNO"), QStringLiteral("Kind"), QStringLiteral("PartNO"),
        QStringLiteral("n") };
}

// The schema of a store file, by the version it records.
Schema schemaOfStore(ado::Connection& cn, int brandId) {
    ado::Recordset rs;
    rs.Open(QStringLiteral("Select Ver From System"), cn);
    const QString version = rs.Eof() ? QString() : rs.Field(QStringLiteral("Ver")).textOrEmpty();
    rs.Close();
    return schemaOf(version, brandId);
}

// A part number as a Pta_ store keeps it: a one-character tail after the last "-" is the kind;
// any other split gives the same match key, so a longer tail stays with the number.
KindNumber splitKind(const QString& stored) {
    const qsizetype dash = stored.lastIndexOf(QLatin1Char('-'));
    if (dash > 0 && dash == stored.size() - 2) return { stored.mid(dash + 1), stored.left(dash) };
    return { QString(), stored };
}

// Indexes a real Pta_ store keeps on the keys the run looks rows up by; without them each
// lookup reads the whole table (and computes FBModel for each model row), so the cost of a
// large run grows with the square of its parts.
void indexPtaKeys(const QString& path, const Schema& s) {
    ado::Connection cn;
    OpenFile(cn, path);
    const std::pair<QString, QString> keys[] = { { s.prices, QStringLiteral("AltID") },
        { QStringLiteral("Pta_Doc"), QStringLiteral("PartID") },
        { QStringLiteral("Pta_BrandCar"), QStringLiteral("PartID") },
        { QStringLiteral("Pta_Model"), QStringLiteral("PartID") },
        { QStringLiteral("Pta_ModelID"), QStringLiteral("FBModel") },
        { QStringLiteral("Pta_BarCode"), QStringLiteral("PartID") },
        { QStringLiteral("DetailSaleRem"), QStringLiteral("PartID") } };
    for (const auto& [table, column] : keys)
        cn.Execute(QStringLiteral("CREATE INDEX %1_%2 ON %1 (%2)").arg(table, column));
    cn.Close();
}

} // namespace

QString UnknownVersion(const QString& version) {
    const auto& known = StoreVersions();
    if (std::find(known.begin(), known.end(), version) != known.end()) return {};
    QStringList names;
    for (const QString& v : known)
        names << QLatin1Char('"') + v + QLatin1Char('"');
    return QStringLiteral("no store version \"%1\"; the versions: %2")
        .arg(version, names.join(QStringLiteral(", ")));
}

QString PartTable(const QString& version, int brandId) {
    return schemaOf(version, brandId).parts;
}

void CreateLargeStore(
    const QString& path, const QString& version, int brandId, int parts, bool replace) {
    // the same parts in either schema: kind "0", a number, names, a model and a price
    auto part = [](auto& p, int i) {
        p.partId = i;
        p.eName = QStringLiteral("PART %1").arg(i);
        p.tName = QString::fromUtf8("อะไหล่ %1").arg(i);
        p.model = QStringLiteral("MODEL %1").arg(i % 40);
        p.price = 100 + i % 900;
        p.sale = p.price;
    };
    const int n = std::max(0, parts);
    if (IsPtaVersion(version)) {
        std::vector<PtaPart> list(static_cast<size_t>(n));
        for (int i = 1; i <= n; ++i) {
            PtaPart& p = list[size_t(i - 1)];
            part(p, i);
            p.partNo = storeNumber(i) + QStringLiteral("-0");
            p.eNameId = p.tNameId = i;
        }
        WriteFiles({ path }, replace, [&](const QStringList& staged) {
            CreatePtaStore(staged[0], version, brandId, list);
            indexPtaKeys(staged[0], schemaOf(version, brandId));
        });
        return;
    }
    std::vector<ClassicPart> list(static_cast<size_t>(n));
    for (int i = 1; i <= n; ++i) {
        ClassicPart& p = list[size_t(i - 1)];
        part(p, i);
        p.kind = QStringLiteral("0");
        p.partNo = storeNumber(i);
    }
    WriteFiles({ path }, replace,
        [&](const QStringList& staged) { CreateClassicStore(staged[0], version, brandId, list); });
}

std::vector<KindNumber> StoreParts(const QString& storePath, int brandId) {
    ado::Connection cn;
    OpenFile(cn, storePath);
    const Schema s = schemaOfStore(cn, brandId);
    const bool kindInNumber = s.kindColumn.isEmpty();
    ado::Recordset rs;
    rs.Open(QStringLiteral("Select %1 As Kind, PartNO From %2 Order By PartID")
                .arg(kindInNumber ? QStringLiteral("''") : s.kindColumn, s.parts),
        cn);
    std::vector<KindNumber> out;
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString number = rs.Field(QStringLiteral("PartNO")).textOrEmpty();
        out.push_back(kindInNumber
                ? splitKind(number)
                : KindNumber { rs.Field(QStringLiteral("Kind")).textOrEmpty(), number });
    }
    rs.Close();
    cn.Close();
    return out;
}

LargeListSummary CreateLargePriceList(const QString& path, const LargeListShape& shape,
    const std::vector<KindNumber>& like, bool replace) {
    if (shape.rows < 0 || shape.tableRows < 1 || shape.newShare < 0 || shape.newShare > 1
        || shape.altsPerNew < 0 || shape.altsPerNew > 5)
        throw rt::RunError(QStringLiteral("unusable large-list settings"));
    if (like.empty() && shape.newShare < 1 && shape.rows > 0)
        throw rt::RunError(QStringLiteral("no store parts for the matching rows"));
    LargeListSummary sum;
    WriteFiles({ path }, replace, [&](const QStringList& staged) {
        MakeFile(staged[0], {}, [&](ado::Connection& cn) {
            CreateTable(cn, QStringLiteral("PriceList_Count"),
                { { QStringLiteral("Count"), QStringLiteral("Long") } });
            const auto cols = PriceRowTableColumns();
            cn.BeginTrans();
            QString table;
            for (int i = 0; i < shape.rows; ++i) {
                if (i % shape.tableRows == 0) {
                    ++sum.tables;
                    cn.Execute(
                        QStringLiteral("Insert Into PriceList_Count Values( %1 )").arg(sum.tables));
                    table = QStringLiteral("PriceList_%1").arg(sum.tables);
                    CreateTable(cn, table, cols);
                }
                // new rows spread evenly: row i is new when it crosses the next multiple of the
                // share
                const bool fresh = int64_t((i + 1) * shape.newShare) > int64_t(i * shape.newShare);
                PriceRow r;
                if (fresh) {
                    r = MakePriceRow(QStringLiteral("0"),
                        QStringLiteral("N%1").arg(i, 7, 10, QLatin1Char('0')),
                        QStringLiteral("NEW PART %1").arg(i),
                        QString::fromUtf8("อะไหล่ใหม่ %1").arg(i), 200 + i % 700, 0, {},
                        QStringLiteral("MODEL %1").arg(i % 40));
                    for (int k = 0; k < shape.altsPerNew; ++k)
                        r.AltNO[k]
                            = QStringLiteral("R%1-%2").arg(i, 7, 10, QLatin1Char('0')).arg(k + 1);
                    ++sum.fresh;
                } else {
                    const KindNumber& p = like[size_t(sum.matching) % like.size()];
                    r = MakePriceRow(p.kind, p.number, QStringLiteral("PART %1").arg(i),
                        QString::fromUtf8("อะไหล่ %1").arg(i), 150 + i % 800, 140 + i % 800, {},
                        QStringLiteral("MODEL %1").arg(i % 40));
                    ++sum.matching;
                }
                InsertPriceRow(cn, table, r);
            }
            CreateTable(cn, QStringLiteral("PriceListAll"), cols);
            cn.CommitTrans();
        });
    });
    return sum;
}

namespace {
QStringList column(ado::Connection& cn, const QString& sql) {
    ado::Recordset rs;
    rs.Open(sql, cn);
    QStringList out;
    for (; !rs.Eof(); rs.MoveNext())
        out << rs.Field(QStringLiteral("v")).textOrEmpty();
    rs.Close();
    return out;
}
} // namespace

QStringList IncompleteParts(const QString& storePath, int brandId, int firstNewKey) {
    ado::Connection cn;
    OpenFile(cn, storePath);
    const Schema s = schemaOfStore(cn, brandId);
    const QString k = QString::number(firstNewKey);
    QStringList problems;
    auto each = [&](const QString& what, const QString& sql) {
        for (const QString& v : column(cn, sql))
            problems << what + QStringLiteral(": ") + v;
    };
    each(s.noPriceRow,
        QStringLiteral("Select PartNO As v From %1 p Where PartID >= %2 And Not Exists "
                       "(Select 1 From %3 a Where a.AltID = p.PartID)")
            .arg(s.parts, k, s.prices));
    each(QStringLiteral("no group row"),
        QStringLiteral("Select PartNO As v From %1 p Where PartID >= %2 And Not Exists "
                       "(Select 1 From %3 g Where g.PartID = p.PartID)")
            .arg(s.parts, k, s.groups));
    each(QStringLiteral("twice"),
        QStringLiteral("Select %1 As v From %2 Group By %3 Having Count(*) > 1")
            .arg(s.partText, s.parts, s.identity));
    each(QStringLiteral("key above the counter"),
        QStringLiteral("Select PartNO As v From %1 Where PartID > (Select LastID From LastID "
                       "Where NameID = '%2')")
            .arg(s.parts, s.counter));
    cn.Close();
    return problems;
}

QStringList MissingListParts(const QString& storePath, const QString& listPath, int brandId) {
    ado::Connection cn;
    OpenFile(cn, storePath);
    const Schema s = schemaOfStore(cn, brandId);
    cn.ExecuteOwn(QStringLiteral("ATTACH DATABASE '%1' AS list").arg(rt::Quote(listPath)));
    QStringList missing;
    for (const QString& n :
        column(cn, QStringLiteral("Select Count As v From list.PriceList_Count"))) {
        QString numbers
            = QStringLiteral("Select PartNO As n, Kind As k From list.PriceList_%1").arg(n);
        for (int k = 1; k <= 5; ++k)
            numbers += QStringLiteral(" Union Select AltNO_%1, AKind_%1 From list.PriceList_%2 "
                                      "Where AltNO_%1 <> ''")
                           .arg(k)
                           .arg(n);
        missing << column(cn,
            QStringLiteral("Select n As v From (%1) Where %2 Not In (Select %3 From %4)")
                .arg(numbers, s.listKey, s.storeKey, s.parts));
    }
    cn.Close();
    return missing;
}

} // namespace storekit
