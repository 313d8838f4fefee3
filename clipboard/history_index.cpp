#include "clipboard/history_index.h"

#include <algorithm>
#include <cmath>

#include "core/text_utils.h"
#include "core/utf8.h"

namespace snibbet {
namespace {

// Predefined clipboard formats (winuser.h), named here so that the host build needs no Windows headers.
enum : std::uint32_t {
  kText = 1, kBitmap = 2, kMetafilePict = 3, kSylk = 4, kDif = 5, kTiff = 6, kOemText = 7, kDib = 8,
  kPalette = 9, kPenData = 10, kRiff = 11, kWave = 12, kUnicodeText = 13, kEnhMetafile = 14, kHDrop = 15,
  kLocale = 16, kDibV5 = 17, kOwnerDisplay = 0x80, kDspText = 0x81, kDspBitmap = 0x82,
  kDspMetafilePict = 0x83, kDspEnhMetafile = 0x8E,
};

struct Column {
  std::size_t start, width;
};
constexpr Column kNumberColumn{0, 6}, kKindColumn{6, 2}, kSizeColumn{8, 10}, kHashColumn{18, 10},
    kDateColumn{28, 20};
constexpr std::size_t kMarkerColumn = kDateColumn.start + kDateColumn.width;

bool IsLineBreak(wchar_t c) { return c == L'\r' || c == L'\n'; }

// A line break inside a line would end it in the file.
std::wstring WithoutLineBreaks(std::wstring_view text) {
  std::wstring kept(text);
  std::replace_if(kept.begin(), kept.end(), IsLineBreak, L' ');
  return kept;
}

HistoryKind KindOf(std::uint32_t format, const HistoryFormatIds& ids) {
  switch (format) {
    case kText: case kOemText: case kUnicodeText: case kLocale: case kDspText: return HistoryKind::Text;
    case kBitmap: case kDib: case kPalette: case kDibV5: case kDspBitmap: return HistoryKind::Picture;
    case kMetafilePict: case kDspMetafilePict: return HistoryKind::Metafile;
    case kEnhMetafile: case kDspEnhMetafile: return HistoryKind::EnhancedMetafile;
    case kTiff: return HistoryKind::Tiff;
    case kRiff: case kWave: return HistoryKind::Sound;
    case kHDrop: return HistoryKind::FileList;
    default: break;
  }
  if (ids.rtf && format == ids.rtf) return HistoryKind::RichText;
  if (ids.html && format == ids.html) return HistoryKind::Html;
  return HistoryKind::None;
}

std::wstring_view Trimmed(std::wstring_view text) {
  while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.remove_suffix(1);
  return text;
}

std::optional<std::int32_t> ReadInteger(std::wstring_view text) {
  text = Trimmed(text);
  bool negative = false;
  if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) {
    negative = text.front() == L'-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::wstring_view ColumnOf(std::wstring_view line, Column column) {
  if (line.size() <= column.start) return {};
  return line.substr(column.start, column.width);
}

}  // namespace

HistoryKind HistoryItemKind(std::span<const std::uint32_t> formats, const HistoryFormatIds& ids) {
  HistoryKind kind = HistoryKind::None;
  for (std::uint32_t format : formats) {
    kind = KindOf(format, ids);
    if (kind != HistoryKind::None) break;
  }
  const bool holdsHtml = ids.html && std::find(formats.begin(), formats.end(), ids.html) != formats.end();
  if (kind == HistoryKind::Text && holdsHtml) kind = HistoryKind::Html;
  return kind;
}

std::wstring HistoryFormatName(std::uint32_t format, const HistoryFormatIds& ids) {
  switch (format) {
    case kText: return L"TEXT";
    case kBitmap: return L"BITMAP";
    case kMetafilePict: return L"METAFILEPICT";
    case kSylk: return L"SYLK";
    case kDif: return L"DIF";
    case kTiff: return L"TIFF";
    case kOemText: return L"OEMTEXT";
    case kDib: return L"DIB";
    case kPalette: return L"PALETTE";
    case kPenData: return L"PENDATA";
    case kRiff: return L"RIFF";
    case kWave: return L"WAVE";
    case kUnicodeText: return L"UNICODETEXT";
    case kEnhMetafile: return L"ENHMETAFILE";
    case kHDrop: return L"HDROP";
    case kLocale: return L"LOCALE";
    case kDibV5: return L"DIBV5";
    case kOwnerDisplay: return L"OWNERDISPLAY";
    case kDspText: return L"DSPTEXT";
    case kDspBitmap: return L"DSPBITMAP";
    case kDspMetafilePict: return L"DSPMETAFILEPICT";
    case kDspEnhMetafile: return L"DSPENHMETAFILE";
    default: break;
  }
  if (ids.rtf && format == ids.rtf) return L"RTF";
  if (ids.html && format == ids.html) return L"HTMLFORMAT";
  return {};
}

std::vector<std::wstring> HistoryFormatNames(std::span<const std::uint32_t> formats, const HistoryFormatIds& ids,
                                             const std::function<std::wstring(std::uint32_t)>& registeredName) {
  std::vector<std::wstring> names;
  const auto holds = [&](std::uint32_t format) {
    return std::find(formats.begin(), formats.end(), format) != formats.end();
  };
  for (std::uint32_t first : {std::uint32_t{kUnicodeText}, std::uint32_t{kText}}) {
    if (holds(first)) names.push_back(HistoryFormatName(first, ids));
  }
  for (std::uint32_t format : formats) {
    if (format == kUnicodeText || format == kText) continue;
    std::wstring name = HistoryFormatName(format, ids);
    if (!name.empty()) names.push_back(std::move(name));
  }
  if (names.empty() && !formats.empty()) names.push_back(registeredName(formats.front()));
  return names;
}

std::wstring BuildHistoryIndexLine(const HistoryIndexEntry& entry) {
  std::wstring line;
  line += PadRightToWidth(std::to_wstring(entry.number), static_cast<int>(kNumberColumn.width));
  line += PadRightToWidth(std::to_wstring(static_cast<int>(entry.kind)), static_cast<int>(kKindColumn.width));
  line += PadRightToWidth(std::to_wstring(entry.size), static_cast<int>(kSizeColumn.width));
  line += PadRightToWidth(std::to_wstring(entry.hash), static_cast<int>(kHashColumn.width));
  line += PadRightToWidth(WithoutLineBreaks(entry.savedAt), static_cast<int>(kDateColumn.width));
  line += IsLineBreak(entry.marker) ? L' ' : entry.marker;
  line += WithoutLineBreaks(entry.description);
  return line;
}

int ItemNumberOfLine(std::wstring_view line) { return ReadInteger(ColumnOf(line, kNumberColumn)).value_or(0); }

std::optional<std::int32_t> HashOfLine(std::wstring_view line) { return ReadInteger(ColumnOf(line, kHashColumn)); }

int LastItemNumber(const std::vector<std::wstring>& lines) {
  int last = 0;
  for (const auto& line : lines) last = std::max(last, ItemNumberOfLine(line));
  return last;
}

int NextItemNumber(int current) { return current >= kMaxHistoryItemNumber || current < 0 ? 1 : current + 1; }

std::int32_t HistoryContentHash(std::span<const std::uint8_t> bytes) {
  // Unsigned arithmetic gives the bits of the signed wrap-around; the
  // comparison reads them as the signed number.
  std::uint32_t hash = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::uint32_t position = static_cast<std::uint32_t>(i);
    hash += (i % 2 == 0) ? bytes[i] : static_cast<std::uint32_t>(bytes[i] >> 1) * position;
    const auto signedHash = static_cast<std::int32_t>(hash);
    if (signedHash > 1000000000) hash = static_cast<std::uint32_t>(signedHash % 1000000000);
  }
  return static_cast<std::int32_t>(hash);
}

wchar_t HistoryMarker(std::wstring_view text) {
  if (text.empty() || (text.front() >= L'0' && text.front() <= L'9') || IsLineBreak(text.front())) return L' ';
  return text.front();
}

std::wstring HistoryTextPreview(std::wstring_view text) {
  std::wstring preview(text.substr(0, kHistoryPreviewChars));
  preview += L"\r\n";
  if (text.size() > kHistoryPreviewChars) preview += L"...\r\n";
  return preview;
}

PictureSize HistoryThumbnailSize(int width, int height) {
  if (width <= 0 || height <= 0) return {};
  const double scale = std::min({static_cast<double>(kThumbnailMaxWidth) / width,
                                 static_cast<double>(kThumbnailMaxHeight) / height, 1.0});
  return {std::max(1, static_cast<int>(std::nearbyint(width * scale))),
          std::max(1, static_cast<int>(std::nearbyint(height * scale)))};
}

bool HistoryIndexReader::Feed(std::string_view bytes) {
  while (!damaged_ && !bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, end);
    // Room for the mark before the first line and the CR before the LF.
    if (pending_.size() + piece.size() > kHistoryLineMostBytes + kUtf8Bom.size() + 1) {
      damaged_ = true;
      break;
    }
    pending_ += piece;
    if (end == std::string_view::npos) break;
    EndLine();
    bytes.remove_prefix(end + 1);
  }
  return !damaged_;
}

void HistoryIndexReader::EndLine() {
  std::string_view bytes(pending_);
  if (firstLine_ && bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  firstLine_ = false;
  std::wstring line = Utf8ToWide(bytes);
  pending_.clear();
  if (!line.empty() && line.back() == L'\r') line.pop_back();
  std::replace_if(line.begin(), line.end(), IsLineBreak, L' ');
  // Older files ended a line in the marker column when a text began with a
  // line feed: its columns, then an empty line.
  if (line.empty() && !lines_.empty() && lines_.back().size() == kMarkerColumn) {
    lines_.back() += L' ';
    return;
  }
  if (line.size() > kHistoryLineMostChars || lines_.size() >= kHistoryIndexMostLines) {
    damaged_ = true;
    return;
  }
  lines_.push_back(std::move(line));
}

std::optional<std::vector<std::wstring>> HistoryIndexReader::Finish() {
  if (!damaged_ && !pending_.empty()) {
    const bool onlyTheMark = firstLine_ && pending_ == kUtf8Bom;
    if (!onlyTheMark) EndLine();
  }
  if (damaged_) return std::nullopt;
  return std::move(lines_);
}

std::optional<std::vector<std::wstring>> ReadHistoryIndex(std::string_view bytes) {
  HistoryIndexReader reader;
  reader.Feed(bytes);
  return reader.Finish();
}

std::string WriteHistoryIndex(const std::vector<std::wstring>& lines) {
  std::string bytes(kUtf8Bom);
  for (const auto& line : lines) bytes += WideToUtf8(WithoutLineBreaks(line)) + "\r\n";
  return bytes;
}

}  // namespace snibbet
