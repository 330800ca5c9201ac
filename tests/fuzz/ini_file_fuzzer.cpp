// The settings file parser on arbitrary text: never a crash; text() is
// stable once parsed; a key set in a section reads back (from the object and
// from its text), and setting it keeps every other key's value.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "presets/ini_file.h"

namespace {

using namespace zr78;

// A name or value as the program writes them: no line break, no blanks at
// the ends; a name holds no '=' or brackets and starts no comment.
std::string cleaned(std::string text, bool name) {
  std::string out;
  for (char c : text) {
    if (c == '\n' || c == '\r' || c == '\0') continue;
    if (name && (c == '=' || c == '[' || c == ']')) continue;
    out += c;
  }
  while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) out.pop_back();
  while (!out.empty() && (out.front() == ' ' || out.front() == '\t' || (name && (out.front() == ';' || out.front() == '#'))))
    out.erase(out.begin());
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string section = cleaned(input.ConsumeRandomLengthString(24), true);
  const std::string key = cleaned(input.ConsumeRandomLengthString(24), true);
  const std::string other = cleaned(input.ConsumeRandomLengthString(24), true);
  const std::string value = cleaned(input.ConsumeRandomLengthString(24), false);
  const std::string text = input.ConsumeRemainingBytesAsString();

  IniFile ini = IniFile::parse(text);
  const std::string once = ini.text();
  if (IniFile::parse(once).text() != once) std::abort();
  if (const auto found = ini.value(section, key)) (void)parseIniInt(*found);
  (void)parseIniInt(text);
  if (section.empty() || key.empty()) return 0;

  const auto otherBefore = ini.value(section, other);
  ini.set(section, key, value);
  if (ini.value(section, key) != value) std::abort();
  if (IniFile::parse(ini.text()).value(section, key) != value) std::abort();
  if (other != key && !other.empty() && ini.value(section, other) != otherBefore) {
    // Names compare case-insensitively: "Key" and "KEY" are one key.
    std::string a = other, b = key;
    for (char& c : a) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : b) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (a != b) std::abort();
  }
  return 0;
}
