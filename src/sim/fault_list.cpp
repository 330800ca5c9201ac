#include "sim/fault_list.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <vector>

namespace zr78::sim {

namespace {

constexpr int kLongestDelayMs = 60000;

struct Item {
  const char* key;
  const char* value;  // nullptr: a flag
  const char* meaning;
};

constexpr Item kItems[] = {
    {"loss", "P", "a report (either direction) is lost with probability P (0..1)"},
    {"corrupt", "P", "one byte of a report is changed with probability P"},
    {"duplicate", "P", "a reply arrives twice with probability P"},
    {"delay-ms", "N[..M]", "every reply waits N ms, or a random N..M ms each"},
    {"seed", "N", "the fault pattern (the same seed repeats it)"},
    {"silent", nullptr, "the amplifier acts on what it gets and never answers"},
    {"stall", nullptr, "the amplifier stops answering and its writes block"},
    {"ignore-writes", "A[..B]", "writes of register A (..B) are echoed but not stored"},
    {"drop-reads", "A[..B]", "register A (..B) never arrives in read replies"},
    {"no-echo", "A[..B]", "writes of register A (..B) are stored but never echoed"},
};

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

template <typename Number>
bool parseNumber(std::string_view text, Number& out) {
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, out);
  return !text.empty() && error == std::errc() && last == end;
}

bool parseProbability(std::string_view text, double& out) {
  return parseNumber(text, out) && out >= 0 && out <= 1;
}

// N or N..M (M = N when only N is given).
bool parseRange(std::string_view text, int& first, int& last) {
  const size_t dots = text.find("..");
  if (dots == std::string_view::npos) {
    if (!parseNumber(text, first)) return false;
    last = first;
    return true;
  }
  return parseNumber(text.substr(0, dots), first) && parseNumber(text.substr(dots + 2), last);
}

bool parseDelay(std::string_view text, int& least, int& most) {
  return parseRange(text, least, most) && least >= 0 && most >= least && most <= kLongestDelayMs;
}

// A[..B]: registers A to B of the device.
bool parseAddresses(std::string_view text, AddressRange& range) {
  int first = 0;
  int last = 0;
  if (!parseRange(text, first, last) || first < 0 || last < first || last >= kRegisterCount) return false;
  range = {first, last};
  return true;
}

}  // namespace

std::optional<FaultConfig> parseFaultList(std::string_view list, std::string& error) {
  FaultConfig faults;
  if (list.empty()) {
    error = "--sim-faults needs at least one item, for example loss=0.05";
    return std::nullopt;
  }
  for (const std::string_view item : split(list, ',')) {
    const size_t equals = item.find('=');
    const std::string_view key = item.substr(0, equals);
    const bool hasValue = equals != std::string_view::npos;
    const std::string_view value = hasValue ? item.substr(equals + 1) : std::string_view();
    bool ok = true;
    if (key == "silent" || key == "stall") {
      ok = !hasValue;
      (key == "silent" ? faults.silent : faults.stall) = true;
    } else if (key == "loss") {
      ok = parseProbability(value, faults.lossRate);
    } else if (key == "corrupt") {
      ok = parseProbability(value, faults.corruptRate);
    } else if (key == "duplicate") {
      ok = parseProbability(value, faults.duplicateRate);
    } else if (key == "delay-ms") {
      ok = parseDelay(value, faults.delayMs, faults.delayMaxMs);
    } else if (key == "ignore-writes") {
      ok = parseAddresses(value, faults.ignoreWrites);
    } else if (key == "drop-reads") {
      ok = parseAddresses(value, faults.dropReads);
    } else if (key == "no-echo") {
      ok = parseAddresses(value, faults.noEcho);
    } else if (key == "seed") {
      ok = parseNumber(value, faults.seed);
    } else {
      error = "--sim-faults: unknown item \"" + std::string(item) + "\"";
      return std::nullopt;
    }
    if (!ok) {
      error = "--sim-faults: bad item \"" + std::string(item) + "\" (P lies within 0..1, delays within 0.." +
              std::to_string(kLongestDelayMs) + " ms, registers within 0.." + std::to_string(kRegisterCount - 1) + ")";
      return std::nullopt;
    }
  }
  return faults;
}

std::string faultListHelp(const std::string& indent) {
  const auto nameOf = [](const Item& item) {
    return std::string(item.key) + (item.value ? std::string("=") + item.value : std::string());
  };
  size_t column = 0;
  for (const Item& item : kItems) column = std::max(column, nameOf(item).size() + 2);
  std::string help;
  for (const Item& item : kItems) {
    std::string name = nameOf(item);
    name.resize(column, ' ');
    help += indent + name + item.meaning + "\n";
  }
  return help;
}

}  // namespace zr78::sim
