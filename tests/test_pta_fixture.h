// A Pta_ store of one version and brand with a form pointing at it, for the tests of the Pta_
// schema: rows read back as texts, statements traced, staged rows written as the passes do.
#pragma once

#include "app/members.h"
#include "platform/runtime/text.h"
#include "storekit/pta_store.h"
#include "support/fake_window.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ptatest {

// Texts compared as UTF-8, so that a failure shows them.
inline std::vector<std::string> Std(const QStringList& lines) {
    std::vector<std::string> out;
    for (const QString& l : lines)
        out.push_back(l.toStdString());
    return out;
}
#define EXPECT_LINES(actual, expected) EXPECT_EQ(ptatest::Std(actual), ptatest::Std(expected))

inline QString q(const QString& s) {
    return QLatin1Char('\'') + rt::Quote(s) + QLatin1Char('\'');
}

// A row of the staging table; alts are kind and number of slots 1, 2, ...
struct Staged {
    QString kind {}, partNo {};
    std::vector<std::pair<QString, QString>> alts {};
    QString eName {}, tName {};
    QStringList models {};
    QString description {}, import {};
    QString price = QStringLiteral("0"), disPrice {}, sale = QStringLiteral("0");
};

class PtaStore {
public:
    PtaStore(const QString& version, int brand, const std::vector<storekit::PtaPart>& parts = {},
        const QString& password = {})
        : version(version)
        , brand(brand)
        , sfx(storekit::PtaSuffix(version, brand)) {
        const QString dir = testenv::TempDir();
        path = dir + QStringLiteral("/Velandor.accdb");
        priceList = dir + QStringLiteral("/PriceList_VURE.mdb");
        storekit::CreatePtaStore(path, version, brand, parts, password);
        fx.useDesktopStore(priceList, path);
        fx.form.mBrandID = brand;
        fx.form.mStoreVersion = version;
        storekit::OpenFile(cn, path, password);
        // as the run's staging table has it: rows of one number come in the order staged
        if (password.isEmpty())
            cn.Execute(QStringLiteral("CREATE INDEX PriceList_PartNO ON PriceList (PartNO)"));
    }
    ~PtaStore() { ado::SetTraceHook(nullptr); }

    void stage(const Staged& s) {
        QStringList v { QString::number(brand), q(s.partNo), q(s.kind) };
        for (size_t k = 0; k < 5; ++k) {
            const bool set = k < s.alts.size();
            v << q(set ? s.alts[k].second : QString()) << q(set ? s.alts[k].first : QString());
        }
        v << q(s.eName) << q(s.tName);
        for (int k = 0; k < 12; ++k)
            v << q(k < s.models.size() ? s.models[k] : QString());
        v << q(s.description) << q(s.import) << s.price << q(s.disPrice) << s.sale;
        cn.Execute(QStringLiteral("Insert Into PriceList Values( %1 )").arg(v.join(", ")));
    }

    // Every row of a query, its fields joined by "|" (a Null as "NULL"); the columns are the
    // query's select list.
    QStringList rows(const QString& sql) {
        return testenv::QueryRows(cn, sql, QStringLiteral("NULL"));
    }
    // A table name with the brand's suffix: T("Pta_%1").
    QString T(const char* pattern) const { return QString::fromLatin1(pattern).arg(sfx); }

    // The statements a call runs, in order.
    QStringList traced(const std::function<void()>& run) { return testenv::Traced(run); }

    QString version;
    int brand;
    QString sfx;
    QString path, priceList;
    FormFixture fx;
    ado::Connection cn;
};

inline storekit::PtaPart Part(int id, const QString& partNo, const QString& eName = {}) {
    storekit::PtaPart p;
    p.partId = id;
    p.partNo = partNo;
    p.eName = eName;
    return p;
}

} // namespace ptatest
