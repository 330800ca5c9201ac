#include "sim/amplifier_state_file.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <locale>
#include <sstream>
#include <vector>

namespace zr78::sim {

namespace {

constexpr std::string_view kHeader = "zr78-virtual-amplifier-state 1";
constexpr int kValuesPerRow = 16;
constexpr size_t kMaxStateFileBytes = 1 << 20;  // a valid file is about 60 kB

std::string escapeName(const std::string& name) {
  static const char* kHex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char ch : name) {
    if (ch == '"' || ch == '\\') {
      out += '\\';
      out += static_cast<char>(ch);
    } else if (ch >= 0x20 && ch < 0x7F) {
      out += static_cast<char>(ch);
    } else {
      out += "\\x";
      out += kHex[ch >> 4];
      out += kHex[ch & 0xF];
    }
  }
  return out;
}

void formatImage(std::ostringstream& out, const RegisterImage& image) {
  for (int first = 0; first < kRegisterCount; first += kValuesPerRow) {
    out << first << ':';
    for (int a = first; a < std::min(first + kValuesPerRow, kRegisterCount); ++a) out << ' ' << image[static_cast<size_t>(a)];
    out << '\n';
  }
}

std::optional<int> parseInt(std::string_view token, int low, int high) {
  int value = 0;
  const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  if (error != std::errc() || end != token.data() + token.size() || value < low || value > high) return std::nullopt;
  return value;
}

std::vector<std::string_view> splitTokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  size_t at = 0;
  while (at < line.size()) {
    const size_t end = std::min(line.find(' ', at), line.size());
    if (end > at) tokens.push_back(line.substr(at, end - at));
    at = end + 1;
  }
  return tokens;
}

// Walks the lines of the text; every read past the end gives nullopt.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  std::optional<std::string_view> next() {
    if (at_ >= text_.size()) return std::nullopt;
    const size_t end = std::min(text_.find('\n', at_), text_.size());
    std::string_view line = text_.substr(at_, end - at_);
    at_ = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
  }
  bool expect(std::string_view wanted) {
    const auto line = next();
    return line && *line == wanted;
  }

 private:
  std::string_view text_;
  size_t at_ = 0;
};

std::optional<RegisterImage> parseImage(LineReader& lines) {
  RegisterImage image{};
  for (int first = 0; first < kRegisterCount; first += kValuesPerRow) {
    const auto line = lines.next();
    if (!line) return std::nullopt;
    const auto tokens = splitTokens(*line);
    const int count = std::min(kValuesPerRow, kRegisterCount - first);
    if (tokens.size() != static_cast<size_t>(count) + 1 || tokens[0] != std::to_string(first) + ":") return std::nullopt;
    for (int i = 0; i < count; ++i) {
      const auto value = parseInt(tokens[static_cast<size_t>(i) + 1], 0, 0xFFFF);
      if (!value) return std::nullopt;
      image[static_cast<size_t>(first + i)] = *value;
    }
  }
  return image;
}

std::optional<std::string> unescapeName(std::string_view quoted) {
  std::string name;
  for (size_t i = 0; i < quoted.size(); ++i) {
    if (quoted[i] == '"') return std::nullopt;  // an unescaped quote inside
    if (quoted[i] != '\\') {
      name += quoted[i];
      continue;
    }
    if (i + 1 < quoted.size() && (quoted[i + 1] == '"' || quoted[i + 1] == '\\')) {
      name += quoted[++i];
      continue;
    }
    if (i + 3 >= quoted.size() || quoted[i + 1] != 'x') return std::nullopt;
    unsigned value = 0;
    const char* from = quoted.data() + i + 2;
    const auto [end, error] = std::from_chars(from, from + 2, value, 16);
    if (error != std::errc() || end != from + 2) return std::nullopt;
    name += static_cast<char>(value);
    i += 3;
  }
  return name;
}

// `mode <m> "<name>"`
std::optional<std::string> parseModeLine(std::string_view line, int mode) {
  const std::string lead = "mode " + std::to_string(mode) + " \"";
  if (line.size() < lead.size() + 1 || line.substr(0, lead.size()) != lead || line.back() != '"') return std::nullopt;
  return unescapeName(line.substr(lead.size(), line.size() - lead.size() - 1));
}

}  // namespace

std::string formatState(const AmplifierMemory& memory) {
  std::ostringstream out;
  out.imbue(std::locale::classic());  // "1234", never a locale's "1.234"
  out << kHeader << "\nworking\n";
  formatImage(out, memory.registers());
  for (int m = 1; m <= kModeCount; ++m) {
    out << "mode " << m << " \"" << escapeName(memory.modeName(m)) << "\"\n";
    formatImage(out, memory.modeImage(m));
  }
  out << "end\n";
  return out.str();
}

std::optional<AmplifierMemory> parseState(std::string_view text) {
  LineReader lines(text);
  if (!lines.expect(kHeader) || !lines.expect("working")) return std::nullopt;
  AmplifierMemory memory;
  const auto working = parseImage(lines);
  if (!working) return std::nullopt;
  for (int a = 0; a < kRegisterCount; ++a) memory.setReg(a, (*working)[static_cast<size_t>(a)]);
  for (int m = 1; m <= kModeCount; ++m) {
    const auto line = lines.next();
    const auto name = line ? parseModeLine(*line, m) : std::nullopt;
    const auto image = name ? parseImage(lines) : std::nullopt;
    if (!image) return std::nullopt;
    memory.setModeName(m, *name);
    memory.setModeImage(m, *image);
  }
  if (!lines.expect("end")) return std::nullopt;
  while (const auto rest = lines.next()) {
    if (!rest->empty()) return std::nullopt;  // nothing may follow but blank lines
  }
  return memory;
}

bool writeStateFile(const std::string& path, const AmplifierMemory& memory) {
  const std::filesystem::path target(path);
  std::filesystem::path temporary = target;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << formatState(memory);
    out.flush();
    if (!out) return false;
  }
  std::error_code error;
  std::filesystem::rename(temporary, target, error);
  if (!error) return true;
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
  return false;
}

std::optional<AmplifierMemory> readStateFile(const std::string& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::string text(kMaxStateFileBytes + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  const auto count = static_cast<size_t>(in.gcount());
  if (count > kMaxStateFileBytes) return std::nullopt;
  text.resize(count);
  return parseState(text);
}

}  // namespace zr78::sim
