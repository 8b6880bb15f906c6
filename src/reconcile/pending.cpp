// Placeholder until the reconciliation lands.
#include "app/members.h"
void reconcile::CollectPriceListAll(frmKordane&) {
    MissingMember("CollectPriceListAll");
}
void reconcile::ReportPriceDiffs(frmKordane&) {
    MissingMember("ReportPriceDiffs");
}
