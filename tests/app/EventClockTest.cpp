#include "app/EventClock.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(EventClock, QueuedClicksMapBackToWhenTheyWereMade)
{
    EventClock clock;
    const qint64 wall = 1'700'000'000'000;
    // A promptly delivered event sets the relation between the two clocks.
    EXPECT_EQ(clock.happenedAt(90'005'000, wall), wall);
    // A click made 200 ms later but delivered 3 s after that, once a load had finished.
    EXPECT_EQ(clock.happenedAt(90'005'200, wall + 3'200), wall + 200);
    // A later prompt event keeps the relation.
    EXPECT_EQ(clock.happenedAt(90'009'000, wall + 4'000), wall + 4'000);
    // A stamp from a restarted clock is not believed: it counts as made on arrival.
    EXPECT_EQ(clock.happenedAt(10, wall + 5'000), wall + 5'000); // 25 hours back
}

} // namespace
} // namespace tavrin
