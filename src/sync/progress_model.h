// What the progress window shows for a value: the format applied to the
// percentage, and the width of the filled bar, which grows from a 27-pixel
// stub at 0 % to 516 pixels at 100 % of the 541-pixel window.
#pragma once

#include <string>

namespace zr78 {

class ProgressModel {
 public:
  static constexpr int kWidth = 541;
  static constexpr int kHeight = 161;
  static constexpr int kBarStub = 27;
  static constexpr int kBarSpan = 489;
  static constexpr const char* kInitialFormat = "欢迎使用!";

  void setRange(int range) { range_ = range; }
  void setFormat(std::string format) { format_ = std::move(format); }
  int range() const { return range_; }
  const std::string& format() const { return format_; }

  // n × 100 / range through the format (a format without a placeholder is
  // shown as it is). A range of 0 counts as 1, so nothing divides by zero.
  std::string text(int value) const { return text(format_, value, range_); }
  // The same for any format and range (the console shows progress this way).
  static std::string text(const std::string& format, int value, int range);
  // n × 489 / range + 27, truncated, kept within the window.
  int barWidth(int value) const;

 private:
  int safeRange() const { return range_ == 0 ? 1 : range_; }
  int range_ = 100;
  std::string format_ = kInitialFormat;
};

}  // namespace zr78
