// Helpers of the insertion tests: see staged_parts.h.
#include "staged_parts.h"

#include "support/query_rows.h"

void StageRow(ado::Connection& cn, int brandId, const Staged& s) {
    using storekit::Quoted;
    QStringList v { QString::number(brandId), Quoted(s.partNo), Quoted(s.kind) };
    for (size_t k = 0; k < 5; ++k) {
        const bool set = k < s.alts.size();
        v << Quoted(set ? s.alts[k].second : QString())
          << Quoted(set ? s.alts[k].first : QString());
    }
    v << Quoted(s.eName) << Quoted(s.tName);
    for (int k = 0; k < 12; ++k)
        v << Quoted(k < s.models.size() ? s.models[k] : QString());
    v << Quoted(s.description) << Quoted(s.import) << s.price << s.disPrice << s.sale;
    cn.Execute(QStringLiteral("Insert Into PriceList Values( %1 )").arg(v.join(", ")));
}

void IndexStaging(ado::Connection& cn) {
    cn.Execute(QStringLiteral("CREATE INDEX PriceList_PartNO ON PriceList (PartNO)"));
}

QStringList QueryRows(ado::Connection& cn, const QString& columns, const QString& rest) {
    return testenv::QueryRows(cn, QStringLiteral("Select %1 From %2").arg(columns, rest));
}

storekit::ClassicPart StoredPart(int id, const char* kind, const char* partNo) {
    storekit::ClassicPart p;
    p.partId = id;
    p.kind = QLatin1String(kind);
    p.partNo = QLatin1String(partNo);
    p.eName = QStringLiteral("OLD");
    p.withSideRows = false;
    return p;
}
