#include "sync/progress_model.h"

#include <gtest/gtest.h>

namespace zr78 {
namespace {

TEST(ProgressModelTest, TextAndBarFollowTheValue) {
  ProgressModel model;
  model.setRange(1678);
  model.setFormat("Read Device Data:%5.0f %%");
  struct Case {
    int value;
    const char* text;
    int bar;
  } cases[] = {
      {0, "Read Device Data:    0 %", 27},
      {839, "Read Device Data:   50 %", 271},
      {1678, "Read Device Data:  100 %", 516},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(model.text(c.value), c.text) << c.value;
    EXPECT_EQ(model.barWidth(c.value), c.bar) << c.value;
  }
}

TEST(ProgressModelTest, FormatWithoutPlaceholderAndDegenerateRange) {
  ProgressModel model;
  EXPECT_EQ(model.text(0), "欢迎使用!");
  model.setFormat("Call...");
  model.setRange(0);
  EXPECT_EQ(model.text(5), "Call...");
  EXPECT_EQ(model.barWidth(5), ProgressModel::kWidth) << "clamped to the window";
  model.setRange(100);
  EXPECT_EQ(model.barWidth(-10), 0);
}

}  // namespace
}  // namespace zr78
