#include "eq/step_table.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zr78 {
namespace {

TEST(StepTable, FirstStepAtOrAboveTheValue) {
  const double up[] = {1, 2, 4, 8};
  struct Case {
    double value;
    int index;
  } cases[] = {{0.5, 0}, {1, 0}, {1.5, 1}, {2, 1}, {3, 2}, {8, 3}, {100, 3}, {std::nan(""), 3}};
  for (const Case& c : cases) EXPECT_EQ(stepIndex(up, c.value), c.index) << c.value;
  EXPECT_EQ(stepIndex({}, 3), 0);
}

TEST(StepTable, ARepeatedLastStepSelectsTheLastPosition) {
  const double repeated[] = {1, 2, 4, 4};
  EXPECT_EQ(stepIndex(repeated, 4), 3);
  EXPECT_EQ(stepIndex(repeated, 3), 2);
}

}  // namespace
}  // namespace zr78
