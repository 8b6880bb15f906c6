// The SQL-server settings of the form fixture, and the store a test points it at.
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

void FormFixture::useStore(const QString& priceList, const QString& store, int brandId,
    const QString& version, bool odbc) {
    if (odbc)
        useSqlServerStore(priceList, store);
    else
        useDesktopStore(priceList, store);
    form.mBrandID = brandId;
    form.mStoreVersion = version;
}
