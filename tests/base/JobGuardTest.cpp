#include "base/JobGuard.h"

#include <gtest/gtest.h>

#include <memory>

namespace lumivar {
namespace {

// Tickets handed out between invalidations, and once the owner is gone.
TEST(JobGuard, ATicketIsCurrentUntilItsOwnerInvalidatesItOrGoes) {
    auto guard = std::make_unique<CJobGuard>();
    const CJobGuard::Ticket first = guard->Issue(), alsoFirst = guard->Issue();
    guard->Invalidate();
    const CJobGuard::Ticket second = guard->Issue();
    guard->Invalidate();
    guard->Invalidate();
    const CJobGuard::Ticket third = guard->Issue();
    const CJobGuard::Ticket none;
    const struct {
        const char* name;
        const CJobGuard::Ticket& ticket;
        bool current, orphan;
    } rows[] = {
        {"first", first, false, false}, {"first again", alsoFirst, false, false},
        {"second", second, false, false}, {"third", third, true, false}, {"nobody's", none, false, true},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(r.ticket.Current(), r.current) << r.name;
        EXPECT_EQ(r.ticket.OwnerGone(), r.orphan) << r.name;
    }
    guard.reset();
    for (const auto& r : rows) {
        EXPECT_FALSE(r.ticket.Current()) << r.name;
        EXPECT_TRUE(r.ticket.OwnerGone()) << r.name;
    }
}

}  // namespace
}  // namespace lumivar
