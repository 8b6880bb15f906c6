// The procedures that run control calls in the other subsystems, with the values a pass hands
// to an update member.
#pragma once

#include "frmKordane.h"
#include "price_row.h"

// The 32 values of one price-list row (or replacement number) as the passes hand them on.
// Members take them by reference and may change them (the caller then sees the change).
struct PartValues : PriceFields {
    int32_t RunDate = 0;
};

// Key allocation from LastID; 0 when anything fails.
int32_t NextKey(frmKordane& f, const QString& nameId);
int32_t NextKeySql(frmKordane& f, const QString& nameId);
int32_t NextKeyAccess(frmKordane& f, const QString& nameId);

namespace update {
int16_t UpdatePart(frmKordane& f, PartValues& v);
int16_t UpdatePartStd(frmKordane& f, PartValues& v);
int16_t UpdatePartP45(frmKordane& f, PartValues& v);
int16_t UpdatePartP48(frmKordane& f, PartValues& v);
int16_t UpdatePartP49(frmKordane& f, PartValues& v);
int16_t UpdatePartP61(frmKordane& f, PartValues& v);
int16_t UpdatePartP64(frmKordane& f, PartValues& v);
int16_t UpdatePartP65(frmKordane& f, PartValues& v);
void PurgeBlankParts(frmKordane& f);
} // namespace update

namespace pta {
int16_t UpdatePartP66(frmKordane& f, PartValues& v);
int16_t UpdatePartP68(frmKordane& f, PartValues& v);
void InsertNewPartsP66(frmKordane& f, int16_t& n);
void InsertNewPartsP68(frmKordane& f, int16_t& n);
} // namespace pta

namespace insert {
void InsertNewPartsSql31(frmKordane& f, int16_t& n);
void InsertNewPartsV31(frmKordane& f, int16_t& n);
void InsertNewPartsV33(frmKordane& f, int16_t& n);
void InsertNewPartsV34(frmKordane& f, int16_t& n);
void InsertNewPartsV42(frmKordane& f, int16_t& n);
void InsertNewPartsV43(frmKordane& f, int16_t& n);
void InsertNewPartsV45(frmKordane& f, int16_t& n);
void InsertNewPartsV46(frmKordane& f, int16_t& n);
void InsertNewPartsP43(frmKordane& f, int16_t& n);
void InsertNewPartsP44(frmKordane& f, int16_t& n);
void InsertNewPartsP45(frmKordane& f, int16_t& n);
void InsertNewPartsP46(frmKordane& f, int16_t& n);
void InsertNewPartsP48(frmKordane& f, int16_t& n);
void InsertNewPartsP49(frmKordane& f, int16_t& n);
void InsertNewPartsP52(frmKordane& f, int16_t& n);
void InsertNewPartsP61(frmKordane& f, int16_t& n);
void InsertNewPartsP64(frmKordane& f, int16_t& n);
} // namespace insert

namespace groups {
// Links a part, up to five replacement parts and the part's present group into one closed
// group; keys are left unchanged, 0 for none.
int16_t RebuildAltGroup(frmKordane& f, int32_t& partId, int32_t& alt1, int32_t& alt2, int32_t& alt3,
    int32_t& alt4, int32_t& alt5);
void ReorganizeAltGroups(frmKordane& f);
} // namespace groups

namespace reconcile {
void CollectPriceListAll(frmKordane& f);
void ReportPriceDiffs(frmKordane& f);
} // namespace reconcile
