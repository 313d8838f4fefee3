#include "core/clipboard_snapshot.h"

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

bool SetEnhancedMetafile(UINT format, std::span<const std::uint8_t> bits) {
  HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(bits.size()), bits.data());
  if (!metafile) return false;
  if (!SetClipboardData(format, metafile)) {
    DeleteEnhMetaFile(metafile);
    return false;
  }
  return true;
}

// Puts one record on the open clipboard; false when it could not.
bool RestoreRecord(const ClipboardRecord& record) {
  if (record.status != RecordReadStatus::Ok) return false;
  switch (ClipboardFormatDataKind(record.format)) {
    case ClipboardDataKind::GlobalMemory:
      return SetClipboardBytes(record.format, record.data);
    case ClipboardDataKind::EnhancedMetafile:
      return SetEnhancedMetafile(record.format, record.data);
    case ClipboardDataKind::NotSaveable:
      break;  // a damaged or foreign stream: the bytes are no handle
  }
  return false;
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
  RestoreRecord(record);
  return record.format;
}

bool SaveClipboardToStream(ClipboardStream& stream) {
  ClipboardSession clipboard;
  if (!clipboard.IsOpen()) return false;
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
  ClipboardSession clipboard;
  if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
  bool allRestored = true;
  while (!stream.AtEnd()) {
    ProcessPendingMessages();
    if (!RestoreRecord(stream.ReadRecord())) allRestored = false;
  }
  return allRestored;
}

}  // namespace snibbet
