#include "templates/template_record.h"

#include <bit>
#include <chrono>
#include <ctime>

namespace snibbet {
namespace {

// Days from 1970-01-01 to the civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

std::tm LocalTime(std::time_t t) {
  std::tm local{};
#if defined(_WIN32)
  localtime_s(&local, &t);
#else
  localtime_r(&t, &local);
#endif
  return local;
}

}  // namespace

OleDate OleDate::FromBytes(const Bytes& bytes) {
  OleDate date;
  date.bytes_ = bytes;
  return date;
}

OleDate OleDate::FromValue(double days) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(days);
  Bytes bytes;
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(bits >> (8 * i));
  return FromBytes(bytes);
}

OleDate OleDate::FromCivil(int year, int month, int day, int hour, int minute, int second, int millisecond) {
  const std::int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                            DaysFromCivil(1899, 12, 30);
  const double fraction = ((hour * 60.0 + minute) * 60.0 + second + millisecond / 1000.0) / 86400.0;
  // Before the epoch the day counts down while the time of day still counts up.
  return FromValue(days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction);
}

OleDate OleDate::Now() {
  const auto now = std::chrono::system_clock::now();
  const std::tm local = LocalTime(std::chrono::system_clock::to_time_t(now));
  const auto millisecond =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return FromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                   local.tm_sec, static_cast<int>(millisecond));
}

double OleDate::Value() const {
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < bytes_.size(); ++i) bits |= static_cast<std::uint64_t>(bytes_[i]) << (8 * i);
  return std::bit_cast<double>(bits);
}

std::string_view StoredTemplateName(std::string_view name) { return name.substr(0, kMaxTemplateNameChars); }

}  // namespace snibbet
