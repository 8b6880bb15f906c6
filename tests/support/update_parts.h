// Inputs of the update tests: the values a pass hands to an update member and the part the
// store has before it.
#pragma once

#include "app/members.h"
#include "storekit/classic.h"

#include <QString>
#include <cstdint>

namespace testenv {

// Kind, number and the two amounts as a pass of the given run date hands them over; every
// other value empty.
PartValues PassValues(
    int32_t runDate, const QString& kind, const QString& partNo, double price = 0, double sale = 0);

// A stored part with the texts and amounts an update overwrites: "OLD", "เก่า", "OLDMODEL",
// 50 and 40.
storekit::ClassicPart OldPart(int id, const QString& kind, const QString& partNo, int upRec = 0);

} // namespace testenv
