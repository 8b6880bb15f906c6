// A price-list database (and, when asked, a classic store) for the tests of the later-list
// merges and the brand clean-ups: tables are built and read back on a connection of the test,
// the operation runs on the form's own connections.
#pragma once

#include "platform/runtime/text.h"
#include "storekit/prepare_later.h"
#include "support/fake_window.h"
#include "support/lines.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"

#include <string>
#include <vector>

namespace preptest {

using Rows = std::vector<std::vector<std::string>>;

inline Rows Std(const std::vector<QStringList>& rows) {
    Rows out;
    for (const QStringList& r : rows) {
        std::vector<std::string> cells;
        for (const QString& c : r)
            cells.push_back(c.toStdString());
        out.push_back(cells);
    }
    return out;
}

using testenv::Std;

// A raw row from literal column names.
inline storekit::RawRow Row(std::initializer_list<std::pair<const char*, rt::Value>> cells) {
    storekit::RawRow r;
    for (const auto& [name, value] : cells)
        r.push_back({ QLatin1String(name), value });
    return r;
}

using testenv::Trace;

struct PrepFiles : testenv::RunFiles {
    FormFixture fx;
    frmKordane& f = fx.form;
    ado::Connection cn; // the test's own connection to the price list

    PrepFiles() {
        storekit::CreateEmptyFile(priceList);
        storekit::OpenFile(cn, priceList);
        fx.useDesktopStore(priceList, store);
    }
    // The form's price-list connection, as a run leaves it open.
    frmKordane& form() {
        if (f.cnPriceList().State() != 1) f.SetUpPriceListConnection();
        return f;
    }
    void exec(const QString& statement) { cn.Execute(statement); }
    void counts(const QString& family, const std::vector<int>& numbers) {
        storekit::CreateNumberList(cn, family, numbers);
    }
    void sheet(const QString& table, const std::vector<storekit::RawRow>& rows = {}) {
        storekit::CreateRawTable(cn, table, rows);
    }
    void insert(const QString& table, const std::vector<storekit::RawRow>& rows) {
        for (const auto& r : rows)
            storekit::InsertRawRow(cn, table, r);
    }
    Rows rows(const QString& columns, const QString& fromAndOrder) {
        return Std(storekit::ReadRows(cn, columns.split(QStringLiteral(", ")), fromAndOrder));
    }
    QStringList qty() const { return fx.window.qtyHistory; }
    QStringList parts() const { return fx.window.partHistory; }
};

} // namespace preptest
