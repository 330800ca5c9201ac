#include "ctl/preset_json.h"

#include <nlohmann/json.hpp>
#include <stdexcept>

#include "registers/default_image.h"

namespace zr78 {

namespace {

using Json = nlohmann::ordered_json;

struct Malformed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

uint32_t unsignedValue(const Json& value, const std::string& name, uint32_t max) {
  // The parser keeps every integer 0 and above as unsigned.
  if (!value.is_number_unsigned() || value.get<uint64_t>() > max)
    throw Malformed(name + " must be an integer 0.." + std::to_string(max));
  return static_cast<uint32_t>(value.get<uint64_t>());
}

// An optional field: its value when present, else `otherwise`.
uint32_t optionalField(const Json& json, const char* name, uint32_t max, uint32_t otherwise) {
  return json.contains(name) ? unsignedValue(json[name], name, max) : otherwise;
}

void readHeader(const Json& json, PresetHeader& h) {
  if (!json.is_object()) throw Malformed("the top level must be an object");
  if (!json.contains("deviceId")) throw Malformed("deviceId is required");
  h.deviceId = unsignedValue(json["deviceId"], "deviceId", UINT32_MAX);
  h.passwordFlag = static_cast<uint8_t>(optionalField(json, "passwordFlag", 255, h.passwordFlag));
  h.reservedA = optionalField(json, "reservedA", UINT32_MAX, h.reservedA);
  h.reservedB = optionalField(json, "reservedB", UINT32_MAX, h.reservedB);
  if (!json.contains("time")) return;
  const Json& time = json["time"];
  if (!time.is_object()) throw Malformed("time must be an object");
  std::pair<const char*, uint32_t*> fields[] = {{"year", &h.time.year},     {"month", &h.time.month},
                                                {"day", &h.time.day},       {"hour", &h.time.hour},
                                                {"minute", &h.time.minute}, {"second", &h.time.second}};
  for (auto& [name, field] : fields) *field = optionalField(time, name, UINT32_MAX, *field);
}

void readRegisters(const Json& json, ImportedPreset& out) {
  if (!json.contains("registers") || !json["registers"].is_array())
    throw Malformed("registers must be an array of up to " + std::to_string(kPresetRegisterCount) + " values");
  const Json& registers = json["registers"];
  const size_t given = registers.size();
  if (given > kPresetRegisterCount)
    throw Malformed("registers holds " + std::to_string(given) + " values, more than the " +
                    std::to_string(kPresetRegisterCount) + " of a preset file");
  if (json.contains("registerCount") && unsignedValue(json["registerCount"], "registerCount", UINT32_MAX) != given)
    throw Malformed("registerCount is " + json["registerCount"].dump() + " but registers holds " +
                    std::to_string(given) + " values");
  const RegisterImage& defaults = defaultRegisterImage();
  for (size_t r = 0; r < kPresetRegisterCount; ++r)
    out.values[r] = r < given ? static_cast<int32_t>(unsignedValue(registers[r], "register " + std::to_string(r), 65535))
                              : defaults[r];
  out.registersGiven = given;
  if (given < kPresetRegisterCount)
    out.note = "registers holds " + std::to_string(given) + " of " + std::to_string(kPresetRegisterCount) +
               " values; registers " + std::to_string(given) + ".." + std::to_string(kPresetRegisterCount - 1) +
               " take their default values";
}

}  // namespace

std::string presetJsonText(const PresetHeader& h, const std::vector<int32_t>& values) {
  Json json;
  json["registerCount"] = h.registerCount;
  json["deviceId"] = h.deviceId;
  json["passwordFlag"] = h.passwordFlag;
  json["headerSize"] = h.headerSize;
  json["formatOne"] = h.formatOne;
  json["reservedA"] = h.reservedA;
  json["reservedB"] = h.reservedB;
  json["time"] = {{"year", h.time.year},     {"month", h.time.month},   {"day", h.time.day},
                  {"hour", h.time.hour},     {"minute", h.time.minute}, {"second", h.time.second}};
  json["registers"] = Json::array();
  for (uint32_t r = 0; r < h.registerCount && r < values.size(); ++r) json["registers"].push_back(values[r]);
  return json.dump(2);
}

ImportedPreset presetFromJson(std::string_view text, const PresetHeader& base) {
  ImportedPreset out;
  out.header = base;
  try {
    const Json json = Json::parse(text.begin(), text.end());
    readHeader(json, out.header);
    readRegisters(json, out);
    out.ok = true;
  } catch (const Json::exception& e) {
    out.error = e.what();
  } catch (const Malformed& e) {
    out.error = e.what();
  }
  if (!out.ok) out.note.clear();
  return out;
}

}  // namespace zr78
