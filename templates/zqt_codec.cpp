#include "templates/zqt_codec.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace snibbet {
namespace {

// Reads little-endian fields off the front of the bytes; a read that does not
// fit leaves the reader where it was.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  std::size_t Remaining() const { return bytes_.size() - pos_; }

  bool ReadU16(std::uint16_t& value) {
    std::uint64_t v = 0;
    if (!ReadLittleEndian(2, v)) return false;
    value = static_cast<std::uint16_t>(v);
    return true;
  }

  bool ReadU32(std::uint32_t& value) {
    std::uint64_t v = 0;
    if (!ReadLittleEndian(4, v)) return false;
    value = static_cast<std::uint32_t>(v);
    return true;
  }

  bool ReadDate(OleDate& date) {
    if (Remaining() < 8) return false;
    OleDate::Bytes raw;
    for (auto& b : raw) b = static_cast<std::uint8_t>(bytes_[pos_++]);
    date = OleDate::FromBytes(raw);
    return true;
  }

  bool ReadBytes(std::size_t count, std::string_view& out) {
    if (Remaining() < count) return false;
    out = bytes_.substr(pos_, count);
    pos_ += count;
    return true;
  }

 private:
  bool ReadLittleEndian(std::size_t size, std::uint64_t& value) {
    if (Remaining() < size) return false;
    value = 0;
    for (std::size_t i = 0; i < size; ++i) value |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(bytes_[pos_ + i])) << (8 * i);
    pos_ += size;
    return true;
  }

  std::string_view bytes_;
  std::size_t pos_ = 0;
};

enum class RecordRead { Done, CleanEnd, Damaged };

RecordRead ReadRecord(ByteReader& in, TemplateRecordView& record) {
  std::uint16_t nameLength = 0;
  if (!in.ReadU16(nameLength)) return RecordRead::CleanEnd;
  std::string_view name;
  if (!in.ReadBytes(nameLength, name)) return RecordRead::Damaged;
  record.Name = name.substr(0, name.find('\0'));
  std::uint32_t contentLength = 0;
  if (!in.ReadDate(record.Date) || !in.ReadU16(record.Kind) || !in.ReadU32(contentLength)) {
    return RecordRead::CleanEnd;  // cut inside the fixed fields: the half-read record is dropped
  }
  if (!in.ReadBytes(contentLength, record.Template)) return RecordRead::Damaged;
  return RecordRead::Done;
}

void PutLittleEndian(std::string& out, std::uint64_t value, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

}  // namespace

ZqtReadResult ReadZqt(std::string_view bytes) {
  ZqtReadResult result;
  if (bytes.substr(0, kZqtMagic.size()) != kZqtMagic) {
    result.Status = ZqtReadStatus::BadMagic;
    return result;
  }
  ByteReader in(bytes.substr(kZqtMagic.size()));
  std::uint16_t count = 0;
  in.ReadU16(count);  // fewer than two bytes: no records
  // Each record takes at least 16 bytes, which bounds what a lying count can reserve.
  result.Records.reserve(std::min<std::size_t>(count, in.Remaining() / 16));
  for (std::uint16_t i = 0; i < count; ++i) {
    TemplateRecordView record;
    const RecordRead read = ReadRecord(in, record);
    if (read == RecordRead::Damaged) result.Status = ZqtReadStatus::Damaged;
    if (read != RecordRead::Done) break;
    result.Records.push_back(record);
  }
  return result;
}

std::string WriteZqt(const std::vector<TemplateRecordView>& records) {
  if (records.size() > kZqtMaxRecords) throw std::length_error("too many templates for one template file");
  std::size_t size = kZqtMagic.size() + 2;
  for (const TemplateRecordView& record : records) {
    if (record.Template.size() > std::numeric_limits<std::uint32_t>::max()) {
      throw std::length_error("template too large for a template file");
    }
    size += 16 + std::min(record.Name.size(), kZqtMaxNameBytes) + record.Template.size();
  }
  std::string out;
  out.reserve(size);
  out.append(kZqtMagic);
  PutLittleEndian(out, records.size(), 2);
  for (const TemplateRecordView& record : records) {
    const std::string_view name = record.Name.substr(0, kZqtMaxNameBytes);
    PutLittleEndian(out, name.size(), 2);
    out.append(name);
    const auto& date = record.Date.RawBytes();
    out.append(reinterpret_cast<const char*>(date.data()), date.size());
    PutLittleEndian(out, record.Kind, 2);
    PutLittleEndian(out, record.Template.size(), 4);
    out.append(record.Template);
  }
  return out;
}

std::string WriteZqt(const std::vector<TemplateRecord>& records) {
  std::vector<TemplateRecordView> views;
  views.reserve(records.size());
  for (const TemplateRecord& record : records) views.push_back(record.View());
  return WriteZqt(views);
}

}  // namespace snibbet
