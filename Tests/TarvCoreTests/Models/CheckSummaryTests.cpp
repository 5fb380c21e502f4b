#include "TarvCore/Models/CheckSummary.hpp"

#include <gtest/gtest.h>

using namespace tarv::core;

TEST(CheckSummary, StateAndSum) {
    using State = CheckSummary::State;
    EXPECT_EQ((CheckSummary{0, 0, 0}.state()), State::none);
    EXPECT_EQ((CheckSummary{5, 1, 3}.state()), State::failure);
    EXPECT_EQ((CheckSummary{5, 0, 3}.state()), State::pending);
    EXPECT_EQ((CheckSummary{2, 0, 0}.state()), State::success);
    EXPECT_EQ((CheckSummary{1, 2, 3} + CheckSummary{10, 20, 30}), (CheckSummary{11, 22, 33}));
    EXPECT_EQ((CheckSummary{1, 2, 3}.total()), 6);
}
