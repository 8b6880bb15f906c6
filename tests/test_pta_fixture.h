// A Pta_ store of one version and brand with a form pointing at it, for the tests of the Pta_
// schema: rows read back as texts, statements traced, staged rows written as the passes do.
#pragma once

#include "app/members.h"
#include "storekit/pta_store.h"
#include "support/fake_window.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"
#include "support/staged_parts.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ptatest {

class PtaStore {
public:
    PtaStore(const QString& version, int brand, const std::vector<storekit::PtaPart>& parts = {},
        const QString& password = {}, bool odbc = false)
        : version(version)
        , brand(brand)
        , sfx(storekit::PtaSuffix(version, brand)) {
        const QString dir = testenv::TempDir();
        path = dir + QStringLiteral("/Velandor.accdb");
        priceList = dir + QStringLiteral("/PriceList_VURE.mdb");
        storekit::CreatePtaStore(path, version, brand, parts, password);
        fx.useStore(priceList, path, brand, version, odbc);
        storekit::OpenFile(cn, path, password);
        if (password.isEmpty()) IndexStaging(cn);
    }
    ~PtaStore() { ado::SetTraceHook(nullptr); }

    void stage(const Staged& s) { StageRow(cn, brand, s); }

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
