// The code's tables against golden data files typed from the tables'
// definitions (this folder): filter recipes and crossover codes, speaker-role
// presets, icons and conflicts, the EQ step tables and every text of the
// three languages, each compared row by row. The tests share nothing with
// the code but the functions that read its tables.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/edit_kinds.h"
#include "channels/speaker_roles.h"
#include "eq/crossover_code.h"
#include "eq/eq_tables.h"
#include "golden_file.h"
#include "text/fixed_texts.h"
#include "text/shared_texts.h"
#include "text/window_texts.h"

namespace zr78 {
namespace {

using golden::lines;
using golden::number;
using golden::split;
using golden::unescaped;
using golden::words;

TEST(GoldenTables, CrossoverCodesByFamilyAndSlope) {
  const auto rows = lines("crossover_codes.txt");
  ASSERT_EQ(rows.size(), static_cast<size_t>(kCrossoverSlopeCount));
  for (const std::string& row : rows) {
    const auto w = words(row);
    ASSERT_EQ(w.size(), 8u) << row;
    const int slope = std::stoi(w[0]);
    EXPECT_EQ(crossoverSlopeText(slope), w[1]) << row;
    for (int column = 0; column < 6; ++column) {
      const auto direction = column < 3 ? CrossoverDirection::HighPass : CrossoverDirection::LowPass;
      const int family = column % 3, code = std::stoi(w[2 + column]);
      EXPECT_EQ(crossoverCode(direction, family, slope), code) << row << ", column " << column;
      const auto kind = decodeCrossoverCode(code);
      ASSERT_TRUE(kind) << code;
      EXPECT_EQ(kind->direction, direction) << code;
      EXPECT_EQ(kind->family, family) << code;
      EXPECT_EQ(kind->slope, slope) << code;
    }
  }
}

TEST(GoldenTables, CrossoverRecipesOfEveryCode) {
  std::map<int, std::vector<std::string>> recipes;
  for (const std::string& row : lines("crossover_recipes.txt", true)) {
    auto w = words(row);
    const int code = std::stoi(w[0]);
    w.erase(w.begin());
    EXPECT_TRUE(recipes.emplace(code, w).second) << "code " << code << " twice";
  }
  ASSERT_EQ(recipes.size(), 48u);
  for (int code = 0; code < 256; ++code) {
    SCOPED_TRACE("code " + std::to_string(code));
    const CrossoverRecipe recipe = crossoverRecipe(code);
    const auto found = recipes.find(code);
    if (found == recipes.end()) {
      EXPECT_EQ(recipe.count, 0);
      continue;
    }
    const std::vector<std::string>& sections = found->second;
    ASSERT_EQ(recipe.count, static_cast<int>(sections.size()));
    for (int i = 0; i < recipe.count; ++i) {
      if (sections[i] == "1st") {
        EXPECT_FALSE(recipe.sections[i].secondOrder) << "section " << i;
      } else {
        EXPECT_TRUE(recipe.sections[i].secondOrder) << "section " << i;
        // Both sides read the same decimal text: the doubles are equal.
        EXPECT_EQ(recipe.sections[i].p, number(sections[i].substr(2))) << "section " << i;
      }
    }
  }
}

TEST(GoldenTables, SpeakerRolePresetsAndIcons) {
  const auto rows = lines("speaker_roles.txt");
  ASSERT_EQ(rows.size(), static_cast<size_t>(kSpeakerRoleCount));
  for (const std::string& row : rows) {
    const auto f = split(row, '|');
    ASSERT_EQ(f.size(), 5u) << row;
    const int role = std::stoi(f[0]);
    EXPECT_EQ(ROLE_CROSSOVER_PRESETS[role].highPassHz, std::stoi(f[2])) << row;
    EXPECT_EQ(ROLE_CROSSOVER_PRESETS[role].lowPassHz, std::stoi(f[3])) << row;
    uint16_t icons = 0;
    for (const auto& icon : split(f[4], ','))
      if (!words(icon).empty()) icons |= static_cast<uint16_t>(1u << std::stoi(icon));
    EXPECT_EQ(roleIcons(role), icons) << row;
  }
}

TEST(GoldenTables, RoleConflicts) {
  const auto rows = lines("role_conflicts.txt");
  ASSERT_EQ(rows.size(), static_cast<size_t>(kSpeakerRoleCount));
  for (const std::string& row : rows) {
    const auto parts = split(row, ':');
    const int held = std::stoi(parts[0]);
    uint32_t expected = 0;
    if (parts.size() > 1)
      for (const auto& role : words(parts[1])) expected |= 1u << std::stoi(role);
    // Held by one other channel (any of them); the channel edited is 0.
    for (int other = 1; other < kChannelCount; ++other) {
      std::array<int, kChannelCount> roles{};
      roles[other] = held;
      EXPECT_EQ(unavailableRoles(roles, 0), expected) << row << ", held by channel " << other;
    }
    // A channel's own role never makes anything unavailable to itself.
    std::array<int, kChannelCount> own{};
    own[0] = held;
    EXPECT_EQ(unavailableRoles(own, 0), 0u) << row;
  }
}

// "[NAME count]" sections of "index value" lines.
std::map<std::string, std::vector<double>> stepTables() {
  std::map<std::string, std::vector<double>> tables;
  std::vector<double>* current = nullptr;
  size_t count = 0;
  for (const std::string& row : lines("step_tables.txt")) {
    if (row[0] == '[') {
      const auto w = words(row.substr(1, row.size() - 2));
      current = &tables[w[0]];
      count = std::stoul(w[1]);
      continue;
    }
    const auto w = words(row);
    EXPECT_EQ(std::stoul(w[0]), current->size()) << row;
    current->push_back(number(w[1]));
    EXPECT_LE(current->size(), count) << row;
  }
  return tables;
}

template <size_t N>
void expectTable(const std::array<double, N>& code, const std::vector<double>& golden, const char* name) {
  ASSERT_EQ(N, golden.size()) << name;
  for (size_t i = 0; i < N; ++i) EXPECT_EQ(code[i], golden[i]) << name << "[" << i << "]";
}

TEST(GoldenTables, StepTablesAndTheFrequencyGrid) {
  const auto tables = stepTables();
  expectTable(DEFAULT_BAND_FREQUENCIES, tables.at("DEFAULT_BAND_FREQUENCIES"), "DEFAULT_BAND_FREQUENCIES");
  expectTable(Q_STEPS, tables.at("Q_STEPS"), "Q_STEPS");
  expectTable(ATTACK_STEPS, tables.at("ATTACK_STEPS"), "ATTACK_STEPS");
  expectTable(FREQUENCY_GRID, tables.at("FREQUENCY_GRID"), "FREQUENCY_GRID");
  // The frequency edit's table: the grid from its second value on, its last
  // value repeated at positions 362 and 363.
  const std::vector<double>& grid = tables.at("FREQUENCY_GRID");
  const EditRules edit = gridFrequencyEdit();
  ASSERT_EQ(edit.maximum, 363);
  for (int position = 0; position <= 363; ++position)
    EXPECT_EQ(displayValue(edit, position), grid[std::min<size_t>(position + 1, grid.size() - 1)])
        << "position " << position;
}

// The three texts of a golden row, in language-index order.
using Texts = std::array<std::string, kLanguageCount>;

Texts textsOf(const std::vector<std::string>& fields, size_t first) {
  return {unescaped(fields.at(first)), unescaped(fields.at(first + 1)), unescaped(fields.at(first + 2))};
}

Texts codeTexts(const TextEntry& entry) { return {std::string(entry[0]), std::string(entry[1]), std::string(entry[2])}; }

// Entry N's texts.
struct SharedGolden {
  std::map<int, Texts> rows;
};

SharedGolden sharedGolden() {
  SharedGolden golden;
  for (const std::string& row : lines("shared_texts.tsv")) {
    const auto f = split(row, '\t');
    EXPECT_EQ(f.size(), 4u) << row;
    if (f.size() != 4) continue;
    const int entry = std::stoi(f[0]);
    EXPECT_TRUE(golden.rows.emplace(entry, textsOf(f, 1)).second) << row;
  }
  return golden;
}

void expectEntry(const TextEntry& entry, int number, const SharedGolden& golden, const std::string& where) {
  const Texts code = codeTexts(entry);
  for (int language = 0; language < kLanguageCount; ++language)
    EXPECT_EQ(code[language], golden.rows.at(number)[language]) << where << ", language " << language;
}

TEST(GoldenTexts, EverySharedTextOfTheThreeLanguages) {
  const SharedGolden golden = sharedGolden();
  ASSERT_EQ(golden.rows.size(), static_cast<size_t>(kTextCount));
  ASSERT_EQ(sharedTextTable().size(), static_cast<size_t>(kTextCount));
  for (int entry = 0; entry < kTextCount; ++entry)
    expectEntry(sharedTextTable()[entry], entry, golden, "entry " + std::to_string(entry));
}

TEST(GoldenTexts, EveryWindowText) {
  const SharedGolden shared = sharedGolden();
  const std::map<std::string, std::span<const TextEntry>> tables = {
      {"system-window", windowTable<SystemWindowText>()}, {"system-page", windowTable<SystemPageText>()},
      {"preset-page", windowTable<PresetPageText>()},     {"routing", windowTable<RoutingText>()},
      {"channel-strip", windowTable<ChannelStripText>()}, {"worker", windowTable<WorkerText>()},
      {"main-window", windowTable<MainWindowText>()},
  };
  std::map<std::string, size_t> rows;
  for (const std::string& row : lines("window_texts.tsv")) {
    const auto f = split(row, '\t');
    ASSERT_TRUE(f.size() == 3 || f.size() == 5) << row;
    ASSERT_TRUE(tables.count(f[0])) << row;
    const size_t entry = std::stoul(f[1]);
    EXPECT_EQ(entry, rows[f[0]]++) << row << ": rows in entry order";
    const std::span<const TextEntry> table = tables.at(f[0]);
    ASSERT_LT(entry, table.size()) << row;
    if (f.size() == 3) {
      expectEntry(table[entry], std::stoi(f[2].substr(1)), shared, row);
      continue;
    }
    const Texts golden = textsOf(f, 2);
    for (int language = 0; language < kLanguageCount; ++language)
      EXPECT_EQ(std::string(table[entry][language]), golden[language]) << row << ", language " << language;
  }
  for (const auto& [name, table] : tables) EXPECT_EQ(rows[name], table.size()) << name << ": every entry has its row";
}

TEST(GoldenTexts, TextsTheSameInEveryLanguage) {
  const std::map<std::string, std::string_view> code = {
      {"language-0", kLanguageNames[0]},
      {"language-1", kLanguageNames[1]},
      {"language-2", kLanguageNames[2]},
      {"mode-slot", kModeSlotFormat},
      {"channel-blocked", kChannelBlockedSuffix},
      {"worker-thread-failed", kWorkerThreadFailed},
      {"wifi-caption", kWifiCaption},
      {"wifi-route", kWifiRouteSetOk},
      {"wifi-hotspot", kWifiHotspotSetOk},
      {"wifi-mode", kWifiModeOk},
      {"wifi-restore", kWifiRestoreOk},
      {"wifi-restart", kWifiRestartOk},
  };
  std::set<std::string> seen;
  for (const std::string& row : lines("fixed_texts.tsv")) {
    const auto f = split(row, '\t');
    ASSERT_EQ(f.size(), 2u) << row;
    ASSERT_TRUE(code.count(f[0])) << row;
    EXPECT_EQ(std::string(code.at(f[0])), unescaped(f[1])) << row;
    seen.insert(f[0]);
  }
  EXPECT_EQ(seen.size(), code.size());
}

}  // namespace
}  // namespace zr78
