// The pieces of the replacement-number groups: counts and opens of a part's partners and Fac
// links in either schema, the dedup of the work lists, and the two schema members of the
// rebuild and the reorganisation.
#pragma once

#include "app/frmKordane.h"

#include <cstdint>
#include <vector>

namespace groups {

// The brand's Pta_ table suffix for the store version; raises when the brand key does not fit.
QString PtaSuffix(const frmKordane& f);

// Counts give the number of joined rows (0 when the query fails). Opens give 1 and leave
// rsLookup on the first row, or 0 with rsLookup closed; the caller reads and closes.
int32_t CountAltGroup(frmKordane& f, int32_t brandId, int32_t partId);
int32_t CountAltGroupAltG(frmKordane& f, int32_t brandId, int32_t partId);
int32_t CountAltGroupPta(frmKordane& f, int32_t partId);
int16_t OpenAltGroup(frmKordane& f, int32_t brandId, int32_t partId);
int16_t OpenAltGroupAltG(frmKordane& f, int32_t brandId, int32_t partId);
int16_t OpenAltGroupPta(frmKordane& f, int32_t partId);
int32_t CountPartFac(frmKordane& f, int32_t brandId, int32_t partId);
int16_t OpenPartFac(frmKordane& f, int32_t brandId, int32_t partId);

// Keeps the first of each positive key among the first `count` entries, zeroing later copies.
void DedupAltMembers(std::vector<int32_t>& members, int32_t count);
void DedupFacList(std::vector<int32_t>& facIds, int32_t count);

int16_t RebuildAltGroupAltG(frmKordane& f, int32_t& partId, int32_t& alt1, int32_t& alt2,
    int32_t& alt3, int32_t& alt4, int32_t& alt5);
int16_t RebuildAltGroupPta(frmKordane& f, int32_t& partId, int32_t& alt1, int32_t& alt2,
    int32_t& alt3, int32_t& alt4, int32_t& alt5);

void ReorganizeAltGroupsAltG(frmKordane& f);
void ReorganizeAltGroupsPta(frmKordane& f);

} // namespace groups
