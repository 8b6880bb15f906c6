// Large stand-in stores and price lists, written row by row.
#include "large_list.h"

#include "classic.h"

#include "platform/runtime/text.h"

#include <algorithm>

namespace storekit {

namespace {
QString storeNumber(int i) {
    return QStringLiteral("%1-%2").arg(10000 + i / 10000).arg(i % 10000, 5, 10, QLatin1Char('0'));
}
} // namespace

void CreateLargeStore(const QString& path, const QString& version, int brandId, int parts) {
    std::vector<ClassicPart> list;
    list.reserve(size_t(std::max(0, parts)));
    for (int i = 1; i <= parts; ++i) {
        ClassicPart p;
        p.partId = i;
        p.kind = QStringLiteral("0");
        p.partNo = storeNumber(i);
        p.eName = QStringLiteral("PART %1").arg(i);
        p.tName = QString::fromUtf8("อะไหล่ %1").arg(i);
        p.model = QStringLiteral("MODEL %1").arg(i % 40);
        p.price = 100 + i % 900;
        p.sale = p.price;
        list.push_back(std::move(p));
    }
    CreateClassicStore(path, version, brandId, list);
}

std::vector<KindNumber> StoreParts(const QString& storePath, int brandId) {
    ado::Connection cn;
    OpenFile(cn, storePath);
    ado::Recordset rs;
    rs.Open(QStringLiteral("Select Kind, PartNO From Pta%1 Order By PartID").arg(brandId), cn);
    std::vector<KindNumber> out;
    for (; !rs.Eof(); rs.MoveNext())
        out.push_back({ rs.Field(QStringLiteral("Kind")).textOrEmpty(),
            rs.Field(QStringLiteral("PartNO")).textOrEmpty() });
    rs.Close();
    cn.Close();
    return out;
}

LargeListSummary CreateLargePriceList(
    const QString& path, const LargeListSpec& spec, const std::vector<KindNumber>& like) {
    if (spec.rows < 0 || spec.tableRows < 1 || spec.newShare < 0 || spec.newShare > 1
        || spec.altsPerNew < 0 || spec.altsPerNew > 5)
        throw rt::RunError(QStringLiteral("storekit: unusable large-list settings"));
    if (like.empty() && spec.newShare < 1 && spec.rows > 0)
        throw rt::RunError(QStringLiteral("storekit: no store parts for the matching rows"));
    CreateEmptyFile(path);
    ado::Connection cn;
    OpenFile(cn, path);
    CreateTable(cn, QStringLiteral("PriceList_Count"),
        { { QStringLiteral("Count"), QStringLiteral("Long") } });
    const auto cols = PriceRowTableColumns();
    LargeListSummary sum;
    cn.BeginTrans();
    QString table;
    for (int i = 0; i < spec.rows; ++i) {
        if (i % spec.tableRows == 0) {
            ++sum.tables;
            cn.Execute(QStringLiteral("Insert Into PriceList_Count Values( %1 )").arg(sum.tables));
            table = QStringLiteral("PriceList_%1").arg(sum.tables);
            CreateTable(cn, table, cols);
        }
        // new rows spread evenly: row i is new when it crosses the next multiple of the share
        const bool fresh = int64_t((i + 1) * spec.newShare) > int64_t(i * spec.newShare);
        PriceRow r;
        if (fresh) {
            r = MakePriceRow(QStringLiteral("0"),
                QStringLiteral("N%1").arg(i, 7, 10, QLatin1Char('0')),
                QStringLiteral("NEW PART %1").arg(i), QString::fromUtf8("อะไหล่ใหม่ %1").arg(i),
                200 + i % 700, 0, {}, QStringLiteral("MODEL %1").arg(i % 40));
            for (int k = 0; k < spec.altsPerNew; ++k)
                r.AltNO[k] = QStringLiteral("R%1-%2").arg(i, 7, 10, QLatin1Char('0')).arg(k + 1);
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
    cn.Close();
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
    const QString b = QString::number(brandId);
    const QString k = QString::number(firstNewKey);
    QStringList problems;
    auto each = [&](const QString& what, const QString& sql) {
        for (const QString& v : column(cn, sql))
            problems << what + QStringLiteral(": ") + v;
    };
    each(QStringLiteral("no code row"),
        QStringLiteral("Select PartNO As v From Pta%1 p Where PartID >= %2 And Not Exists "
                       "(Select 1 From Alt%1 a Where a.AltID = p.PartID)")
            .arg(b, k));
    each(QStringLiteral("no group row"),
        QStringLiteral("Select PartNO As v From Pta%1 p Where PartID >= %2 And Not Exists "
                       "(Select 1 From AltG%1 g Where g.PartID = p.PartID)")
            .arg(b, k));
    each(QStringLiteral("twice"),
        QStringLiteral("Select Kind || '-' || PartNO As v From Pta%1 Group By Kind, PartNO "
                       "Having Count(*) > 1")
            .arg(b));
    each(QStringLiteral("key above the counter"),
        QStringLiteral("Select PartNO As v From Pta%1 Where PartID > (Select LastID From LastID "
                       "Where NameID = 'Pta%1')")
            .arg(b));
    cn.Close();
    return problems;
}

QStringList MissingListParts(const QString& storePath, const QString& listPath, int brandId) {
    ado::Connection cn;
    OpenFile(cn, storePath);
    cn.ExecuteOwn(QStringLiteral("ATTACH DATABASE '%1' AS list").arg(rt::Quote(listPath)));
    QStringList missing;
    for (const QString& n :
        column(cn, QStringLiteral("Select Count As v From list.PriceList_Count"))) {
        QString numbers = QStringLiteral("Select PartNO As n From list.PriceList_%1").arg(n);
        for (int k = 1; k <= 5; ++k)
            numbers += QStringLiteral(
                " Union Select AltNO_%1 From list.PriceList_%2 Where AltNO_%1 <> ''")
                           .arg(k)
                           .arg(n);
        missing << column(cn,
            QStringLiteral("Select n As v From (%1) Where n Not In (Select PartNO From Pta%2)")
                .arg(numbers)
                .arg(brandId));
    }
    cn.Close();
    return missing;
}

} // namespace storekit
