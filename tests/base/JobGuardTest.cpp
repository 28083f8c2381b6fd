#include "base/JobGuard.h"

#include <gtest/gtest.h>

#include <memory>

namespace lumivar {
namespace {

// Tickets handed out between invalidations, and once the owner is gone.
TEST(JobGuard, ATicketIsCurrentUntilItsOwnerInvalidatesItOrGoes) {
    auto guard = std::make_unique<CJobGuard>();
    const CJobGuard::Ticket first = guard->Issue(), alsoFirst = guard->Issue(), none;
    guard->Invalidate();
    guard->Invalidate();
    const CJobGuard::Ticket latest = guard->Issue();
    EXPECT_FALSE(first.Current() || alsoFirst.Current() || first.OwnerGone());
    EXPECT_TRUE(latest.Current() && !latest.OwnerGone());
    EXPECT_TRUE(!none.Current() && none.OwnerGone()) << "a ticket of nobody's";
    guard.reset();
    EXPECT_TRUE(!latest.Current() && latest.OwnerGone() && first.OwnerGone());
}

}  // namespace
}  // namespace lumivar
