// The two database connections: the price list and the store (desktop file or SQL server).
#include "frmKordane.h"

#include "platform/runtime/text.h"

using win::Box;

namespace {
const char* kPriceListPassword = "PLN394";
const char* kStorePassword1 = "KWZ730258";
const char* kStorePassword2 = "QTR584716";
} // namespace

QString frmKordane::storePathTrimmed() const {
    return rt::Trim(w.text(Box::txtDataVelandor));
}

// Both desktop connections follow the store path's ending, whichever store type is selected.
QString frmKordane::accessDriverPart() const {
    if (storePathTrimmed().right(5) == QLatin1String("accdb"))
        return QStringLiteral("driver={Microsoft Access Driver (*.mdb, *.accdb)};dbq=");
    return QStringLiteral("driver={Microsoft Access Driver (*.mdb)};dbq=");
}

void frmKordane::SetUpPriceListConnection() {
    SetUpPriceListConnection(rt::Trim(w.text(Box::txtPriceList)));
}

void frmKordane::SetUpPriceListConnection(const QString& priceListPath) {
    const QString driver = accessDriverPart();
    ado::Connection& cn = cnPriceList();
    cn.setConnectionString(driver + priceListPath + QStringLiteral(";UID=admin;PWD=")
        + QLatin1String(kPriceListPassword));
    cn.setCommandTimeout(20);
    cn.setCursorLocation(2);
    cn.Open();
}

void frmKordane::OpenStoreConnection() {
    if (w.optAccess()) {
        OpenStoreAccess();
        return;
    }
    ado::Connection& cn = cnStore();
    // the server fields go in as typed: no trimming, no quoting
    cn.setConnectionString(QStringLiteral("driver={SQL Server};server=") + w.text(Box::txtServer)
        + QStringLiteral(";uid=") + w.text(Box::txtuid) + QStringLiteral(";pwd=")
        + w.text(Box::txtpwd) + QStringLiteral(";database=") + w.text(Box::txtdbq)
        + QStringLiteral(";"));
    cn.setCommandTimeout(100);
    cn.setCursorLocation(2);
    cn.setMode(3);
    cn.Open();
}

void frmKordane::OpenStoreAccess() {
    auto attempt = [this](const char* password) {
        const QString driver = accessDriverPart();
        ado::Connection& cn = cnStore();
        cn.setConnectionString(driver + storePathTrimmed() + QStringLiteral(";UID=admin;PWD=")
            + QLatin1String(password));
        cn.setCommandTimeout(20);
        cn.setCursorLocation(2);
        cn.Open();
    };
    try {
        attempt(kStorePassword1);
    } catch (const std::exception&) { // anything in the first attempt
        attempt(kStorePassword2);
    }
}

void frmKordane::ReopenStore() {
    if (cnStore().State() == 1) cnStore().Close();
    releaseStore();
    OpenStoreConnection();
}
