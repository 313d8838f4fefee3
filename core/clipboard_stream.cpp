#include "core/clipboard_stream.h"

namespace snibbet {
namespace {

constexpr std::uint64_t kMaxRecordData = 0xFFFFFFFFu;

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint32_t GetLittleEndian(const std::uint8_t* p, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
  return value;
}

}  // namespace

bool ClipboardStream::AppendRecord(std::uint16_t format, std::span<const std::uint8_t> data) {
  if (data.size() > kMaxRecordData) return false;
  bytes_.reserve(bytes_.size() + kClipboardRecordHeaderSize + data.size());
  PutLittleEndian(bytes_, format, 2);
  PutLittleEndian(bytes_, data.size(), 4);
  bytes_.insert(bytes_.end(), data.begin(), data.end());
  return true;
}

ClipboardRecord ClipboardStream::ReadRecord() {
  ClipboardRecord record;
  if (AtEnd()) return record;
  const std::size_t remaining = bytes_.size() - position_;
  const std::uint8_t* p = bytes_.data() + position_;
  record.status = RecordReadStatus::Truncated;
  if (remaining < 2) {
    record.format = static_cast<std::uint16_t>(GetLittleEndian(p, static_cast<int>(remaining)));
    position_ = bytes_.size();
    return record;
  }
  record.format = static_cast<std::uint16_t>(GetLittleEndian(p, 2));
  if (remaining < kClipboardRecordHeaderSize) {
    position_ = bytes_.size();
    return record;
  }
  // Compare against what is left before touching the data: a damaged size
  // must neither reach past the buffer nor ask for a huge block.
  const std::uint64_t size = GetLittleEndian(p + 2, 4);
  if (size > remaining - kClipboardRecordHeaderSize) {
    position_ = bytes_.size();
    return record;
  }
  record.status = RecordReadStatus::Ok;
  record.data = std::span<const std::uint8_t>(p + kClipboardRecordHeaderSize, static_cast<std::size_t>(size));
  position_ += kClipboardRecordHeaderSize + static_cast<std::size_t>(size);
  return record;
}

std::optional<std::vector<ClipboardRecord>> ClipboardStream::ReadAllRecords() {
  const std::size_t start = position_;
  std::vector<ClipboardRecord> records;
  for (ClipboardRecord record = ReadRecord(); record.status != RecordReadStatus::End; record = ReadRecord()) {
    if (record.status != RecordReadStatus::Ok) {
      position_ = start;
      return std::nullopt;
    }
    records.push_back(record);
  }
  return records;
}

}  // namespace snibbet
