#include "eq/filter_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "text/number_text.h"

namespace zr78 {

namespace {

// ---- encodings ----------------------------------------------------------------

constexpr char32_t kReplacementCharacter = 0xFFFD;

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string fromUtf16(std::string_view bytes, bool bigEndian) {
  const auto unit = [&](size_t i) -> char32_t {
    const auto a = static_cast<unsigned char>(bytes[2 * i]);
    const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  std::string out;
  const size_t units = bytes.size() / 2;
  for (size_t i = 0; i < units; ++i) {
    const char32_t u = unit(i);
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < units) {
      const char32_t v = unit(i + 1);
      if (v >= 0xDC00 && v < 0xE000) {
        appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00));
        ++i;
        continue;
      }
    }
    appendUtf8(out, u >= 0xD800 && u < 0xE000 ? kReplacementCharacter : u);
  }
  if (bytes.size() % 2 != 0) appendUtf8(out, kReplacementCharacter);
  return out;
}

// Length of the well-formed UTF-8 sequence at `i`; 0 when there is none.
size_t utf8SequenceLength(std::string_view s, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = byte(i);
  if (c < 0x80) return 1;
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    if (c == 0xE0) low = 0xA0;
    if (c == 0xED) high = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (size_t k = 2; k < length; ++k)
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  return length;
}

bool isUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const size_t n = utf8SequenceLength(s, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string utf8Repaired(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size();) {
    const size_t n = utf8SequenceLength(s, i);
    if (n == 0) {
      appendUtf8(out, kReplacementCharacter);
      ++i;
    } else {
      out.append(s.substr(i, n));
      i += n;
    }
  }
  return out;
}

std::string fromLatin1(std::string_view s) {
  std::string out;
  for (const char c : s) appendUtf8(out, static_cast<unsigned char>(c));
  return out;
}

// A filter text is ASCII for the most part, so UTF-16 without a BOM shows as
// zero bytes, in the high byte of each unit: at odd offsets for little endian.
std::optional<bool> utf16BigEndianByZeros(std::string_view bytes) {
  size_t evenZeros = 0, oddZeros = 0;
  for (size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i] == 0) ++(i % 2 == 0 ? evenZeros : oddZeros);
  const size_t units = bytes.size() / 2;
  if (units == 0 || std::max(evenZeros, oddZeros) * 2 < units) return std::nullopt;
  return evenZeros > oddZeros;
}

// ---- lines and tokens -----------------------------------------------------------

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' && text[i] != '\r') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v' || c == '\0'; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string collapsedBlanks(std::string_view s) {
  std::string out;
  for (const char c : trimmed(s)) {
    if (!isBlank(c))
      out += c;
    else if (!out.empty() && out.back() != ' ')
      out += ' ';
  }
  return out;
}

bool sameWord(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

enum class TokenKind { Word, Number, Other };

struct Token {
  TokenKind kind;
  std::string_view text;  // a view into the line
};

// Words are runs of letters; numbers start with a digit, a point or a sign
// before one and run over digits, points and commas (a comma is kept so that
// "63,5" is refused as a number rather than read as 63); anything else is a
// token of one character (or one UTF-8 sequence).
std::vector<Token> tokenize(std::string_view line) {
  std::vector<Token> tokens;
  size_t i = 0;
  const auto numberChar = [](char c) { return isDigit(c) || c == '.' || c == ','; };
  while (i < line.size()) {
    const char c = line[i];
    const size_t start = i;
    if (isBlank(c)) {
      ++i;
      continue;
    }
    if (isLetter(c)) {
      while (i < line.size() && isLetter(line[i])) ++i;
      tokens.push_back({TokenKind::Word, line.substr(start, i - start)});
    } else if (numberChar(c) || ((c == '+' || c == '-') && i + 1 < line.size() && numberChar(line[i + 1]))) {
      ++i;
      while (i < line.size() && numberChar(line[i])) ++i;
      tokens.push_back({TokenKind::Number, line.substr(start, i - start)});
    } else {
      const size_t n = utf8SequenceLength(line, i);
      i += n == 0 ? 1 : n;
      tokens.push_back({TokenKind::Other, line.substr(start, i - start)});
    }
  }
  return tokens;
}

// [+-] digits [. digits] or [+-] . digits
bool isDecimal(std::string_view s) {
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) s.remove_prefix(1);
  const size_t point = s.find('.');
  const std::string_view whole = s.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : s.substr(point + 1);
  const auto digits = [](std::string_view d) { return std::all_of(d.begin(), d.end(), isDigit); };
  return digits(whole) && digits(fraction) && !(whole.empty() && fraction.empty());
}

// A filter line's words, one after the other.
struct TokenReader {
  std::vector<Token> tokens;
  size_t at = 0;

  bool atEnd() const { return at >= tokens.size(); }
  const Token& next() const { return tokens[at]; }
  bool nextIs(TokenKind kind) const { return !atEnd() && next().kind == kind; }
  bool nextIsWord(std::string_view word) const { return nextIs(TokenKind::Word) && sameWord(next().text, word); }
  bool takeWord(std::string_view word) {
    if (!nextIsWord(word)) return false;
    ++at;
    return true;
  }
  bool takeOther(std::string_view text) {
    if (!nextIs(TokenKind::Other) || next().text != text) return false;
    ++at;
    return true;
  }
};

// The number after a field name; nothing (and `error` says why) when there is
// none or it is not a decimal number.
std::optional<double> takeNumber(TokenReader& r, std::string_view field, std::string& error) {
  if (!r.nextIs(TokenKind::Number)) {
    error = r.atEnd() ? std::string(field) + " has no value"
                      : std::string(field) + " has no readable value ('" + std::string(r.next().text) + "')";
    return std::nullopt;
  }
  const std::string_view text = r.next().text;
  ++r.at;
  if (!isDecimal(text)) {
    error = "'" + std::string(text) + "' after " + std::string(field) + " is not a number";
    if (text.find(',') != std::string_view::npos) error += " (decimals are written with '.')";
    return std::nullopt;
  }
  const double value = readNumber(text.front() == '+' ? text.substr(1) : text);
  if (!std::isfinite(value)) {
    error = std::string(field) + " " + std::string(text) + " is out of range";
    return std::nullopt;
  }
  return value;
}

// ---- filter lines -----------------------------------------------------------------

struct TypeRow {
  std::string_view word;
  FilterKind kind;
  bool withQ;  // HPQ, LPQ: the Q is written
};

constexpr std::array<TypeRow, 8> kTypes = {{
    {"PK", FilterKind::Peaking, true},
    {"PEQ", FilterKind::Peaking, true},
    {"Modal", FilterKind::Peaking, true},
    {"HP", FilterKind::HighPass, false},
    {"HPQ", FilterKind::HighPass, true},
    {"LP", FilterKind::LowPass, false},
    {"LPQ", FilterKind::LowPass, true},
    {"None", FilterKind::None, false},
}};

struct RefusedType {
  std::string_view word;
  std::string_view what;
};

constexpr std::array<RefusedType, 13> kRefusedTypes = {{
    {"LS", "shelf"}, {"HS", "shelf"}, {"LSC", "shelf"}, {"HSC", "shelf"}, {"LSQ", "shelf"},
    {"HSQ", "shelf"}, {"AP", "all-pass"}, {"APQ", "all-pass"}, {"NO", "notch"}, {"NOTCH", "notch"},
    {"BP", "band-pass"}, {"BPQ", "band-pass"}, {"BWBP", "band-pass"},
}};

std::string refusedTypeReason(std::string_view type, std::string_view what) {
  std::string reason = std::string(what) + " filters (" + std::string(type) + ") cannot be set: ";
  reason += what == "shelf" ? "the amplifier's bands are peaking filters"
                            : "the amplifier has peaking bands and high-/low-pass crossovers only";
  return reason;
}

const char* kindName(FilterKind kind) {
  switch (kind) {
    case FilterKind::Peaking: return "a peaking filter";
    case FilterKind::HighPass: return "a high-pass filter";
    case FilterKind::LowPass: return "a low-pass filter";
    case FilterKind::None: return "None";
  }
  return "";
}

struct Fields {
  std::optional<double> fc, gain, q, bw;
};

// Fc [Hz|kHz], Gain [dB], Q, BW Oct, in any order, each once.
std::optional<Fields> readFields(TokenReader& r, std::string& error) {
  Fields f;
  const auto once = [&](std::optional<double>& field, std::string_view name) {
    if (field) error = std::string(name) + " is given twice";
    return !field;
  };
  while (!r.atEnd()) {
    if (r.takeWord("Fc")) {
      if (!once(f.fc, "Fc") || !(f.fc = takeNumber(r, "Fc", error))) return std::nullopt;
      if (r.takeWord("kHz")) *f.fc *= 1000;
      else r.takeWord("Hz");
    } else if (r.takeWord("Gain")) {
      if (!once(f.gain, "Gain") || !(f.gain = takeNumber(r, "Gain", error))) return std::nullopt;
      r.takeWord("dB");
    } else if (r.takeWord("Q")) {
      if (!once(f.q, "Q") || !(f.q = takeNumber(r, "Q", error))) return std::nullopt;
    } else if (r.takeWord("BW")) {
      if (!r.takeWord("Oct")) {
        error = "BW must be given in octaves ('BW Oct 0.5')";
        return std::nullopt;
      }
      if (!once(f.bw, "BW Oct") || !(f.bw = takeNumber(r, "BW Oct", error))) return std::nullopt;
    } else {
      error = "unexpected '" + std::string(r.next().text) + "'";
      return std::nullopt;
    }
  }
  return f;
}

// The fields a kind takes and the values they may have.
std::optional<std::string> checkFields(FilterKind kind, bool withQ, std::string_view type, const Fields& f) {
  if (kind == FilterKind::None) return std::nullopt;
  if (!f.fc) return std::string(type) + " has no Fc";
  if (!(*f.fc > 0)) return "Fc must be above 0 Hz";
  if (f.q && !(*f.q > 0)) return "Q must be above 0";
  if (f.bw && !(*f.bw > 0)) return "BW Oct must be above 0";
  if (kind == FilterKind::Peaking) {
    if (!f.gain) return std::string(type) + " has no Gain";
    if (f.q && f.bw) return "both Q and BW Oct are given";
    if (!f.q && !f.bw) return std::string(type) + " has no Q (or BW Oct)";
    return std::nullopt;
  }
  if (f.gain) return std::string(kindName(kind)) + " has no Gain";
  if (f.bw) return std::string(kindName(kind)) + " has no BW Oct";
  if (withQ && !f.q) return std::string(type) + " has no Q";
  if (f.q && std::abs(*f.q - kButterworthQ) > kButterworthQTolerance)
    return std::string(type) + " with Q " + formatNumber("%g", *f.q) +
           " cannot be set: the crossovers take Q 0.707 (12 dB/Oct Butterworth) only";
  return std::nullopt;
}

// After "ON"/"OFF": the type and its fields.
std::optional<std::string> readFilter(TokenReader& r, TextFilter& filter) {
  if (!r.nextIs(TokenKind::Word)) return std::string("the filter type is missing");
  const std::string_view type = r.next().text;
  ++r.at;
  for (const RefusedType& refused : kRefusedTypes)
    if (sameWord(type, refused.word)) return refusedTypeReason(type, refused.what);
  const auto row = std::find_if(kTypes.begin(), kTypes.end(), [&](const TypeRow& t) { return sameWord(type, t.word); });
  if (row == kTypes.end()) return "unknown filter type '" + std::string(type) + "'";
  filter.kind = row->kind;
  if (row->kind == FilterKind::None) return std::nullopt;  // whatever follows asks for nothing
  std::string error;
  const std::optional<Fields> fields = readFields(r, error);
  if (!fields) return error;
  if (auto refused = checkFields(row->kind, row->withQ, type, *fields)) return refused;
  filter.frequencyHz = *fields->fc;
  if (row->kind == FilterKind::Peaking) {
    filter.gainDb = *fields->gain;
    filter.bandwidthOct = fields->bw;
    filter.q = fields->q ? *fields->q : qOfBandwidth(*fields->bw);
  } else {
    filter.q = fields->q ? *fields->q : kButterworthQ;  // a written Q lies within the tolerance
  }
  return std::nullopt;
}

// Lines of a PC equaliser's configuration that change the sound in ways a
// filter list cannot say; the filters around them would be read wrongly.
constexpr std::array<std::string_view, 12> kRefusedCommands = {
    "GraphicEQ", "Convolution", "Include", "Copy", "Delay", "Channel",
    "Stage",     "Eval",        "If",      "ElseIf", "Else", "EndIf",
};

struct LineResult {
  enum class Kind { Ignored, Preamp, Filter, Error } kind = Kind::Ignored;
  double preampDb = 0;
  TextFilter filter;
  std::string reason;
};

LineResult errorLine(std::string reason) { return {LineResult::Kind::Error, 0, {}, std::move(reason)}; }

LineResult readLine(std::string_view line) {
  const std::string_view content = trimmed(line);
  if (content.empty() || content.front() == '#') return {};
  TokenReader r{tokenize(content)};
  if (r.takeWord("Filter")) {
    bool numbered = false;
    TextFilter filter;
    if (r.nextIs(TokenKind::Number)) {
      const std::string_view number = r.next().text;
      if (number.size() > 6 || !std::all_of(number.begin(), number.end(), isDigit))
        return errorLine("unreadable filter number '" + std::string(number) + "'");
      filter.number = static_cast<int>(readNumber(number));
      numbered = true;
      ++r.at;
    }
    const bool colon = r.takeOther(":");
    if (!r.nextIsWord("ON") && !r.nextIsWord("OFF")) {
      // "Filter Settings file" is a header; "Filter 3: PK ..." a filter without ON/OFF.
      if (numbered || colon) return errorLine("ON or OFF expected after 'Filter" + std::string(numbered ? " N" : "") + ":'");
      return {};
    }
    filter.enabled = r.nextIsWord("ON");
    filter.text = collapsedBlanks(content.substr(static_cast<size_t>(r.next().text.data() - content.data())));
    ++r.at;
    std::optional<std::string> refused = readFilter(r, filter);
    if (refused && filter.enabled) return errorLine(*refused);
    filter.readable = !refused;  // a disabled filter is read as far as it goes
    return {LineResult::Kind::Filter, 0, std::move(filter), {}};
  }
  if (r.nextIsWord("Preamp") && r.tokens.size() > 1 && r.tokens[1].kind != TokenKind::Word) {
    r.at = 1;
    r.takeOther(":");
    std::string error;
    const std::optional<double> db = takeNumber(r, "Preamp", error);
    if (!db) return errorLine(error);
    r.takeWord("dB");
    if (!r.atEnd()) return errorLine("unexpected '" + std::string(r.next().text) + "' after the Preamp");
    return {LineResult::Kind::Preamp, *db, {}, {}};
  }
  if (r.nextIs(TokenKind::Word) && r.tokens.size() > 1 && r.tokens[1].text == ":") {
    const std::string_view command = r.next().text;
    for (const std::string_view refused : kRefusedCommands) {
      if (!sameWord(command, refused)) continue;
      if (sameWord(command, "Channel") && r.tokens.size() == 3 && sameWord(r.tokens[2].text, "all")) return {};
      if (sameWord(command, "Channel"))
        return errorLine("a 'Channel:' line: the text holds filters for several channels; give the filters of one");
      return errorLine("'" + std::string(command) + ":' lines cannot be imported; only filter and Preamp lines can");
    }
  }
  return {};  // a header or a note
}

// ---- writing ------------------------------------------------------------------------

// The value with the fewest decimals, minDecimals..maxDecimals, that holds it.
std::string decimalText(double value, int minDecimals, int maxDecimals) {
  if (value == 0) value = 0;  // no "-0"
  int decimals = minDecimals;
  for (; decimals < maxDecimals; ++decimals) {
    const double scaled = value * std::pow(10.0, decimals);
    if (std::abs(scaled - std::round(scaled)) < 1e-6) break;
  }
  const std::string format = "%." + std::to_string(decimals) + "f";
  return formatNumber(format, value);
}

std::string filterLineText(const TextFilter& f) {
  std::string out = f.enabled ? "ON " : "OFF ";
  switch (f.kind) {
    case FilterKind::Peaking:
      return out + "PK Fc " + decimalText(f.frequencyHz, 0, 2) + " Hz Gain " + decimalText(f.gainDb, 1, 2) +
             " dB Q " + decimalText(f.q, 2, 5);
    case FilterKind::HighPass:
    case FilterKind::LowPass: {
      const bool butterworth = std::abs(f.q - kButterworthQ) < 1e-9 || f.q == 0;
      out += f.kind == FilterKind::HighPass ? "HP" : "LP";
      out += butterworth ? "" : "Q";
      out += " Fc " + decimalText(f.frequencyHz, 0, 2) + " Hz";
      return butterworth ? out : out + " Q " + decimalText(f.q, 2, 5);
    }
    case FilterKind::None: break;
  }
  return out + "None";
}

}  // namespace

std::string filterTextAsUtf8(std::string_view bytes) {
  const auto startsWith = [&](std::string_view bom) { return bytes.substr(0, bom.size()) == bom; };
  if (startsWith("\xEF\xBB\xBF")) return utf8Repaired(bytes.substr(3));
  if (startsWith("\xFF\xFE")) return fromUtf16(bytes.substr(2), false);
  if (startsWith("\xFE\xFF")) return fromUtf16(bytes.substr(2), true);
  if (const auto bigEndian = utf16BigEndianByZeros(bytes)) return fromUtf16(bytes, *bigEndian);
  return isUtf8(bytes) ? std::string(bytes) : fromLatin1(bytes);
}

double qOfBandwidth(double octaves) {
  const double power = std::pow(2.0, octaves);
  return std::sqrt(power) / (power - 1);
}

FilterTextParse parseFilterText(std::string_view bytes) {
  const std::string text = filterTextAsUtf8(bytes);
  FilterTextParse parse;
  FilterText& out = parse.text;
  const auto fail = [&](int line, std::string reason) { parse.errors.push_back({line, std::move(reason)}); };
  int peaking = 0, highPassLine = 0, lowPassLine = 0;
  const std::vector<std::string_view> lines = splitLines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int lineNumber = static_cast<int>(i) + 1;
    LineResult result = readLine(lines[i]);
    switch (result.kind) {
      case LineResult::Kind::Ignored: break;
      case LineResult::Kind::Error: fail(lineNumber, std::move(result.reason)); break;
      case LineResult::Kind::Preamp:
        if (out.preampDb) {
          fail(lineNumber, "a second Preamp line (the first is on line " + std::to_string(out.preampLine) + ")");
          break;
        }
        out.preampDb = result.preampDb;
        out.preampLine = lineNumber;
        break;
      case LineResult::Kind::Filter: {
        TextFilter& f = result.filter;
        f.line = lineNumber;
        if (f.enabled && f.kind == FilterKind::Peaking && ++peaking == kMaxPeakingFilters + 1)
          fail(lineNumber, "more than 31 peaking filters: the channel has 31 bands");
        int* crossoverLine = f.kind == FilterKind::HighPass ? &highPassLine
                             : f.kind == FilterKind::LowPass ? &lowPassLine
                                                              : nullptr;
        if (f.enabled && crossoverLine && *crossoverLine != 0) {
          fail(lineNumber, std::string("a second ") + (f.kind == FilterKind::HighPass ? "high" : "low") +
                               "-pass filter (the first is on line " + std::to_string(*crossoverLine) +
                               "): the channel has one");
        } else if (f.enabled && crossoverLine) {
          *crossoverLine = lineNumber;
        }
        out.filters.push_back(std::move(f));
        break;
      }
    }
  }
  if (out.filters.empty() && parse.errors.empty())
    fail(0, "no filter lines (such as 'Filter 1: ON PK Fc 100 Hz Gain -3.0 dB Q 2.00'): not a filter text");
  return parse;
}

std::string filterTextErrorsText(const std::vector<FilterTextError>& errors) {
  std::string out;
  for (const FilterTextError& e : errors)
    out += (e.line > 0 ? "line " + std::to_string(e.line) + ": " : std::string()) + e.reason + "\n";
  return out;
}

std::string writeFilterText(const FilterText& text) {
  std::string out;
  for (const std::string& comment : text.comments) out += "# " + comment + "\n";
  if (text.preampDb) out += "Preamp: " + decimalText(*text.preampDb, 1, 2) + " dB\n";
  int number = 0;
  for (const TextFilter& f : text.filters) {
    number = f.number > 0 ? f.number : number + 1;
    out += "Filter " + std::to_string(number) + ": " + filterLineText(f) + "\n";
  }
  return out;
}

}  // namespace zr78
