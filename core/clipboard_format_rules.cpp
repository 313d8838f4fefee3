#include "core/clipboard_format_rules.h"

namespace snibbet {
namespace {

// Numbers of the predefined formats used here (no <windows.h> on the host).
constexpr std::uint32_t kBitmap = 2, kMetafilePict = 3, kPalette = 9, kEnhMetafile = 14;
constexpr std::uint32_t kOwnerDisplay = 0x80, kDspBitmap = 0x82, kDspMetafilePict = 0x83,
                        kDspEnhMetafile = 0x8E;
constexpr std::uint32_t kPrivateFirst = 0x200, kGdiObjLast = 0x3FF;

// Registered format names compare without regard to letter case, like atoms.
bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

ClipboardDataKind ClipboardFormatDataKind(std::uint32_t format) {
  switch (format) {
    case kEnhMetafile:
      return ClipboardDataKind::EnhancedMetafile;
    case 0:
    case kBitmap:
    case kPalette:
    // The block holds a metafile handle that dies with the clipboard's
    // content; the system renders this format again from the enhanced metafile.
    case kMetafilePict:
    case kOwnerDisplay:
    case kDspBitmap:
    case kDspMetafilePict:
    case kDspEnhMetafile:
      return ClipboardDataKind::NotSaveable;
    default:
      // Private and GDI-object formats carry handles only their owner understands.
      if (format >= kPrivateFirst && format <= kGdiObjLast) return ClipboardDataKind::NotSaveable;
      return format > 0xFFFF ? ClipboardDataKind::NotSaveable : ClipboardDataKind::GlobalMemory;
  }
}

bool ShouldSaveClipboardFormat(std::uint32_t format, std::wstring_view name, bool fullSetPresent) {
  // OLE embedding data refers to the source application's live object.
  if (SameName(name, L"Embed Source") || SameName(name, L"Native")) return false;
  if (fullSetPresent) {
    if (format == kMetafilePict || format == kEnhMetafile) return false;
    if (SameName(name, L"DataObject") || SameName(name, L"Ole Private Data")) return false;
  }
  return ClipboardFormatDataKind(format) != ClipboardDataKind::NotSaveable;
}

}  // namespace snibbet
