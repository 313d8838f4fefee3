#pragma once
// The clipboard stream: the whole clipboard as a sequence of records, each a
// 16-bit format number, a 32-bit byte count and that many bytes, little-endian,
// with no header, count or terminator. Paste snapshots and history items use it.
// Window-free: the clipboard itself is read and written in clipboard_snapshot.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace snibbet {

// Bytes of one record's header: format (2) + size (4).
inline constexpr std::size_t kClipboardRecordHeaderSize = 6;

enum class RecordReadStatus {
  Ok,         // a whole record was read
  End,        // the position was already at the end: nothing read
  Truncated,  // the stream ends inside the record: position moved to the end
};

struct ClipboardRecord {
  RecordReadStatus status = RecordReadStatus::End;
  std::uint16_t format = 0;           // as far as it could be read (0 when not)
  std::span<const std::uint8_t> data; // points into the stream; valid while it is unchanged
};

// A growable byte stream with a read position, like a memory stream.
class ClipboardStream {
 public:
  ClipboardStream() = default;
  explicit ClipboardStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

  // Appends one record at the end (writing never moves the read position).
  // False, with nothing written, for data too large for a 32-bit size.
  bool AppendRecord(std::uint16_t format, std::span<const std::uint8_t> data);

  // Reads the record at the position and moves past it. A record whose header
  // or data runs past the end is Truncated: the position moves to the end and
  // its data is empty, so a damaged stream can never be read beyond its bytes.
  ClipboardRecord ReadRecord();

  // Every record from the position to the end, moving past them all; or,
  // when any of them is damaged, nothing, with the position left where it
  // was. So a damaged stream can be refused before anything is done with it.
  std::optional<std::vector<ClipboardRecord>> ReadAllRecords();

  void Clear() { bytes_.clear(); position_ = 0; }
  void Rewind() { position_ = 0; }
  void Seek(std::size_t position) { position_ = position < bytes_.size() ? position : bytes_.size(); }
  bool AtEnd() const { return position_ >= bytes_.size(); }
  std::size_t Position() const { return position_; }
  std::size_t Size() const { return bytes_.size(); }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

}  // namespace snibbet
