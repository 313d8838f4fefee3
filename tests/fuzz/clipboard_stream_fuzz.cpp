// Feeds arbitrary bytes to the clipboard-stream reader: every record must lie
// inside the buffer, reading must always come to an end, and a stream is
// accepted whole exactly when none of its records is damaged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/clipboard_format_rules.h"
#include "core/clipboard_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  snibbet::ClipboardStream stream(std::vector<std::uint8_t>(data, data + size));
  const std::uint8_t* begin = stream.Bytes().data();
  const std::uint8_t* end = begin + stream.Size();
  std::size_t records = 0;
  bool damaged = false;
  for (;;) {
    const std::size_t before = stream.Position();
    const snibbet::ClipboardRecord record = stream.ReadRecord();
    if (record.status == snibbet::RecordReadStatus::End) break;
    if (stream.Position() <= before) std::abort();  // no progress: would loop forever
    if (!record.data.empty() && (record.data.data() < begin || record.data.data() + record.data.size() > end)) {
      std::abort();
    }
    if (record.status == snibbet::RecordReadStatus::Truncated) {
      if (!stream.AtEnd() || !record.data.empty()) std::abort();
      damaged = true;
    } else {
      ++records;
    }
    (void)snibbet::ClipboardFormatDataKind(record.format);
    if (records > size) std::abort();
  }

  // The whole-stream check agrees with reading record by record.
  stream.Rewind();
  const auto all = stream.ReadAllRecords();
  if (all.has_value() == damaged) std::abort();
  if (all && all->size() != records) std::abort();
  if (!all && stream.Position() != 0) std::abort();

  // Re-encoding the intact records gives back the bytes they came from.
  snibbet::ClipboardStream copy;
  stream.Rewind();
  for (auto r = stream.ReadRecord(); r.status == snibbet::RecordReadStatus::Ok; r = stream.ReadRecord()) {
    copy.AppendRecord(r.format, r.data);
  }
  for (std::size_t i = 0; i < copy.Size(); ++i) {
    if (copy.Bytes()[i] != stream.Bytes()[i]) std::abort();
  }
  if (!damaged && copy.Size() != stream.Size()) std::abort();
  return 0;
}
