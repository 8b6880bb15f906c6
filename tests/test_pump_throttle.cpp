// The window's event pump spaced out to about 20 a second.
#include "app/qt/pump_throttle.h"

#include <gtest/gtest.h>

TEST(PumpThrottle, PumpsFirstThenAtMostEveryFiftyMilliseconds) {
    PumpThrottle t;
    const std::pair<int64_t, bool> calls[] = { { 1000, true }, { 1000, false }, { 1049, false },
        { 1050, true }, { 1051, false }, { 1200, true }, { 1249, false }, { 1300, true } };
    for (const auto& [now, due] : calls)
        EXPECT_EQ(t.due(now), due) << now;
}
