// Pta_-schema stores ("P.66 (Bar)", "P.68 (Bar)"): the brand's part, price and group tables of
// its suffix, the shared Pta_ tables, and parts written by column name.
#pragma once

#include "storekit.h"

namespace storekit {

// The brand's table suffix under the version; "" when the key does not fit, as the store has it.
QString PtaSuffix(const QString& version, int brandId);
// Columns of Pta_<sfx> (62 values for "P.68 (Bar)", 47 for "P.66 (Bar)") and of Pta_Alt_<sfx>
// (11 and 10), in insert order.
std::vector<Column> PtaPartColumns(const QString& version);
std::vector<Column> PtaPriceColumns(const QString& version);

// Pta_<sfx>, Pta_Alt_<sfx>, Pta_AltG_<sfx> of one brand, and the shared Pta_AltGX, Pta_Doc,
// Pta_BarCode, Pta_ModelID, Pta_BrandCar, Pta_Model and DetailSaleRem when they are missing.
// FBModel of Pta_ModelID is computed from the brand-and-model text: squeezed, as it is looked up.
void CreatePtaBrandTables(ado::Connection& cn, const QString& version, int brandId);

// A part a Pta_ store already has: its row in Pta_<sfx>, its price row and its Pta_Doc row.
struct PtaPart {
    int partId = 0;
    QString partNo; // as the store keeps it ("<number>-<kind>"); FPartNO is it squeezed
    QString eName, tName, model, description, import, disPrice;
    int eNameId = 0, tNameId = 0;
    double price = 0, sale = 0;
    int upRec = 0;
};
void AddPtaPart(ado::Connection& cn, const QString& version, int brandId, const PtaPart& part);

// A Pta_ store file: shared tables, the brand "VURE" under brandId in Pta_BrandID, its tables,
// its parts, and the counters PartID, ENameID and TNameID at the parts' highest keys.
void CreatePtaStore(const QString& path, const QString& version, int brandId,
    const std::vector<PtaPart>& parts = {}, const QString& password = {});

} // namespace storekit
