#pragma once
// Which clipboard formats a clipboard snapshot keeps, and how their data is
// stored. Window-free so the rules can be checked on any host.
#include <cstdint>
#include <string_view>

namespace snibbet {

// How a format's clipboard data is held, and therefore whether it can be saved.
enum class ClipboardDataKind {
  GlobalMemory,      // a global memory block: saved as a byte copy of the block
  EnhancedMetafile,  // an enhanced-metafile handle: saved as the metafile's bits
  NotSaveable,       // a GDI or private handle, or no data: the system or the
                     // other formats bring it back (a bitmap through its DIBs,
                     // a metafile picture through the enhanced metafile)
};

ClipboardDataKind ClipboardFormatDataKind(std::uint32_t format);

// Predefined formats that, together with "HTML Format" and "Rich Text Format",
// make up the full set that spreadsheet copies offer (their metafiles are
// rendered on demand and can take long, so they are left out then).
inline constexpr std::uint32_t kFullSetPredefinedFormats[] = {14, 2, 4, 13, 1, 17};

// Whether a snapshot keeps `format` with registered `name` ("" for a
// predefined format); `fullSetPresent` says the clipboard holds the full set.
bool ShouldSaveClipboardFormat(std::uint32_t format, std::wstring_view name, bool fullSetPresent);

}  // namespace snibbet
