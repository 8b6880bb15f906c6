// Classic-schema store tables: each version's part-table layout (column count and order fixed
// by the positional inserts), the brand's code and group tables, and the store-owned tables
// the update rewrites.
#pragma once

#include "storekit.h"

namespace storekit {

// Columns of Pta<BrandID> for a classic store version, in insert order. Throws for a version
// whose layout is not defined yet.
std::vector<Column> ClassicPartColumns(const QString& version);
// Columns of Alt<BrandID> (four values; six for "P.49 (Bar)").
std::vector<Column> ClassicAltColumns(const QString& version);

// Pta<B>, Alt<B>, AltG<B>, FacD<B> of one brand (with the Alt placeholder row 0), and the
// shared Fac, AltGX, MovementStock, SPG, Price and Sale when they are missing.
void CreateClassicBrandTables(ado::Connection& cn, const QString& version, int brandId);

// An existing part of a classic store: written by column name, so it fits any layout.
struct ClassicPart {
    int partId = 0;
    QString kind, partNo, eName, tName, model, description, import, disPrice, lAtNo;
    double price = 0, sale = 0;
    int upRec = 0;
    bool withSideRows = true; // rows in MovementStock, SPG, Price and Sale too
};
void AddClassicPart(
    ado::Connection& cn, const QString& version, int brandId, const ClassicPart& part);

// A classic store file: shared tables, the brand "VURE" under brandId, its tables, and the
// counter "Pta<brandId>" at lastPartId.
void CreateClassicStore(const QString& path, const QString& version, int brandId,
    const std::vector<ClassicPart>& parts = {}, const QString& password = {});

} // namespace storekit
