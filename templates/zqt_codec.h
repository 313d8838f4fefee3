#pragma once
// The template file (".zqt") as bytes. Window-free.
//
//   "ZQT1", record count (u16), then per record: name length n (u16), n name
//   bytes, date (8 bytes, an OLE date double), kind (u16), content length m
//   (u32), m content bytes. Little-endian, no padding, no checksum.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "templates/template_record.h"

namespace snibbet {

inline constexpr std::string_view kZqtMagic = "ZQT1";
inline constexpr std::size_t kZqtMaxNameBytes = 1024;  // longer names are cut when written
inline constexpr std::size_t kZqtMaxRecords = 65535;   // the count is 16 bits

enum class ZqtReadStatus {
  Complete,  // read to the count, or to a clean end of the bytes
  BadMagic,  // shorter than four bytes, or not "ZQT1"
  Damaged,   // a name or content length runs past the end of the bytes
};

struct ZqtReadResult {
  ZqtReadStatus Status = ZqtReadStatus::Complete;
  // The records read before the end or the damage, in file order; they point
  // into the bytes given to ReadZqt.
  std::vector<TemplateRecordView> Records;
};

// Reads a template file. A name ends at its first zero byte, if it has one.
// A record whose date, kind or content length is cut off by the end of the
// bytes is dropped and reading stops there; lengths are checked against what
// remains before anything is taken.
ZqtReadResult ReadZqt(std::string_view bytes);

// Writes the records in the order given, names cut to 1024 bytes.
// std::length_error for more than 65535 records or a content of 4 GB or more.
std::string WriteZqt(const std::vector<TemplateRecordView>& records);
std::string WriteZqt(const std::vector<TemplateRecord>& records);

}  // namespace snibbet
