#include "core/clipboard_snapshot.h"

#include <optional>
#include <utility>
#include <vector>

#include "core/clipboard_access.h"
#include "core/clipboard_format_rules.h"
#include "core/message_pump.h"

namespace snibbet {
namespace {

std::wstring RegisteredFormatName(UINT format) {
  wchar_t name[256];
  const int length = GetClipboardFormatNameW(format, name, 256);
  return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

bool HoldsFullFormatSet() {
  for (std::uint32_t format : kFullSetPredefinedFormats) {
    if (!IsClipboardFormatAvailable(format)) return false;
  }
  return IsClipboardFormatAvailable(HtmlClipboardFormat()) && IsClipboardFormatAvailable(RtfClipboardFormat());
}

bool WriteEnhancedMetafile(UINT format, HENHMETAFILE metafile, ClipboardStream& stream) {
  const UINT size = metafile ? GetEnhMetaFileBits(metafile, 0, nullptr) : 0;
  if (size == 0) return false;
  std::vector<std::uint8_t> bits(size);
  if (GetEnhMetaFileBits(metafile, size, bits.data()) != size) return false;
  return stream.AppendRecord(static_cast<std::uint16_t>(format), bits);
}

bool WriteGlobalBlock(UINT format, HANDLE handle, ClipboardStream& stream) {
  LockedGlobalBlock block(handle);
  if (!block.Data()) return false;
  const std::span<const std::uint8_t> bytes(static_cast<const std::uint8_t*>(block.Data()), block.Size());
  return stream.AppendRecord(static_cast<std::uint16_t>(format), bytes);
}

// One record made into the handle the clipboard takes, before the clipboard
// is touched. Freed unless the clipboard took it.
class PreparedFormat {
 public:
  PreparedFormat(UINT format, ClipboardDataKind kind, HANDLE handle) : format_(format), kind_(kind), handle_(handle) {}
  PreparedFormat(PreparedFormat&& other) noexcept
      : format_(other.format_), kind_(other.kind_), handle_(std::exchange(other.handle_, nullptr)) {}
  PreparedFormat(const PreparedFormat&) = delete;
  PreparedFormat& operator=(const PreparedFormat&) = delete;
  PreparedFormat& operator=(PreparedFormat&&) = delete;
  ~PreparedFormat() {
    if (!handle_) return;
    if (kind_ == ClipboardDataKind::EnhancedMetafile) {
      DeleteEnhMetaFile(static_cast<HENHMETAFILE>(handle_));
    } else {
      GlobalFree(handle_);
    }
  }

  bool Valid() const { return handle_ != nullptr; }

  // Requires the open clipboard.
  bool HandOver() {
    if (!handle_ || !SetClipboardData(format_, handle_)) return false;
    handle_ = nullptr;
    return true;
  }

 private:
  UINT format_;
  ClipboardDataKind kind_;
  HANDLE handle_;
};

// Null handle (an invalid preparation) for bytes that cannot be put back:
// no handle format, or metafile bits the system refuses.
PreparedFormat Prepare(const ClipboardRecord& record) {
  const ClipboardDataKind kind = ClipboardFormatDataKind(record.format);
  HANDLE handle = nullptr;
  if (kind == ClipboardDataKind::GlobalMemory) {
    handle = CopyToSharedBlock(record.data);
  } else if (kind == ClipboardDataKind::EnhancedMetafile) {
    handle = SetEnhMetaFileBits(static_cast<UINT>(record.data.size()), record.data.data());
  }
  return PreparedFormat(record.format, kind, handle);
}

// Every record from the position on, ready for the clipboard; nothing when
// any of them is damaged or cannot be put back.
std::optional<std::vector<PreparedFormat>> PrepareAll(ClipboardStream& stream) {
  const auto records = stream.ReadAllRecords();
  if (!records) return std::nullopt;
  std::vector<PreparedFormat> prepared;
  prepared.reserve(records->size());
  for (const ClipboardRecord& record : *records) {
    ProcessPendingMessages();
    prepared.push_back(Prepare(record));
    if (!prepared.back().Valid()) return std::nullopt;
  }
  return prepared;
}

}  // namespace

bool WriteClipboardFormat(UINT format, ClipboardStream& stream) {
  ProcessPendingMessages();
  const ClipboardDataKind kind = ClipboardFormatDataKind(format);
  if (kind == ClipboardDataKind::NotSaveable) return false;
  HANDLE handle = GetClipboardData(format);
  if (!handle) return false;
  if (kind == ClipboardDataKind::EnhancedMetafile) {
    return WriteEnhancedMetafile(format, static_cast<HENHMETAFILE>(handle), stream);
  }
  return WriteGlobalBlock(format, handle, stream);
}

UINT ReadClipboardFormat(ClipboardStream& stream) {
  ProcessPendingMessages();
  const ClipboardRecord record = stream.ReadRecord();
  if (record.status == RecordReadStatus::Ok) Prepare(record).HandOver();
  return record.format;
}

bool SaveClipboardToStream(ClipboardStream& stream) {
  ClipboardSession clipboard;
  return clipboard.IsOpen() && SaveOpenClipboardToStream(stream);
}

bool SaveOpenClipboardToStream(ClipboardStream& stream) {
  const bool fullSet = HoldsFullFormatSet();
  SetLastError(ERROR_SUCCESS);
  UINT format = 0;
  while ((format = EnumClipboardFormats(format)) != 0) {
    if (ShouldSaveClipboardFormat(format, RegisteredFormatName(format), fullSet) &&
        IsClipboardFormatAvailable(format)) {
      WriteClipboardFormat(format, stream);
    }
    SetLastError(ERROR_SUCCESS);
  }
  return GetLastError() == ERROR_SUCCESS;
}

bool LoadClipboardFromStream(ClipboardStream& stream) {
  // The whole stream is checked and made ready first: a damaged one must not
  // cost the user what is on the clipboard now.
  const std::size_t start = stream.Position();
  auto prepared = PrepareAll(stream);
  if (!prepared) {
    stream.Seek(start);
    return false;
  }
  ClipboardSession clipboard;
  if (!clipboard.IsOpen() || !EmptyClipboard()) {
    stream.Seek(start);  // the snapshot stays for a later try
    return false;
  }
  bool allRestored = true;
  for (PreparedFormat& format : *prepared) allRestored = format.HandOver() && allRestored;
  return allRestored;
}

}  // namespace snibbet
