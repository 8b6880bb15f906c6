// The SQL-server settings of the form fixture.
#include "fake_window.h"
#include "odbc_env.h"

void FormFixture::useSqlServerStore(const QString& priceList, const QString& sqliteFile) {
    testenv::RegisterSqlServerDriver();
    window.access = false;
    window.texts[win::Box::txtPriceList] = priceList;
    window.texts[win::Box::txtServer] = QStringLiteral("localhost");
    window.texts[win::Box::txtuid] = QStringLiteral("sa");
    window.texts[win::Box::txtpwd] = QStringLiteral("secret");
    window.texts[win::Box::txtdbq] = sqliteFile;
}
