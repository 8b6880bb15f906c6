// Inputs of the update tests: the values a pass hands to an update member.
#pragma once

#include "app/members.h"

#include <QString>
#include <cstdint>

namespace testenv {

// Kind, number and the two amounts as a pass of the given run date hands them over; every
// other value empty.
PartValues PassValues(
    int32_t runDate, const QString& kind, const QString& partNo, double price = 0, double sale = 0);

} // namespace testenv
