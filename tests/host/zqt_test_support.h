#pragma once
// Helpers shared by the template file and template table tests.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "templates/template_record.h"

namespace snibbet::zqt_test {

inline std::string U16(std::uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }

inline std::string U32(std::uint32_t v) {
  std::string out;
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
  return out;
}

inline std::string DateBytes(const OleDate& date) {
  return std::string(reinterpret_cast<const char*>(date.RawBytes().data()), 8);
}

// One record laid out by hand, independent of the writer.
inline std::string RawRecord(std::string_view name, double date, std::uint16_t kind, std::string_view content) {
  return U16(static_cast<std::uint16_t>(name.size())) + std::string(name) + DateBytes(OleDate::FromValue(date)) +
         U16(kind) + U32(static_cast<std::uint32_t>(content.size())) + std::string(content);
}

inline std::string RawFile(std::uint16_t count, const std::vector<std::string>& records) {
  std::string out = "ZQT1" + U16(count);
  for (const auto& r : records) out += r;
  return out;
}

inline TemplateRecord Record(std::string name, std::string content = "", std::uint16_t kind = kTemplateText,
                             double date = 45000.25) {
  return TemplateRecord{std::move(name), OleDate::FromValue(date), kind, std::move(content)};
}

}  // namespace snibbet::zqt_test
