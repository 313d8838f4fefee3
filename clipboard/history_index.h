#pragma once
// The clipboard history's decisions that need no window: the index lines with
// their fixed columns, item numbers, the content hash, an item's kind from its
// formats, the formats' names, the text preview and the thumbnail's size.
// Window-free; the host preset tests it.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace snibbet {

inline constexpr int kMaxHistoryItemNumber = 999999;
// Characters of the text preview file before the "..." line.
inline constexpr std::size_t kHistoryPreviewChars = 1024;
inline constexpr int kThumbnailMaxWidth = 320, kThumbnailMaxHeight = 240;

enum class HistoryKind : int {
  None = 0,
  Text = 1,
  Picture = 2,
  Metafile = 3,
  EnhancedMetafile = 4,
  Tiff = 5,
  Sound = 6,
  FileList = 7,
  RichText = 8,
  Html = 9,
};

// The registered formats the history knows by name; 0 when not registered.
struct HistoryFormatIds {
  std::uint32_t rtf = 0;   // "Rich Text Format"
  std::uint32_t html = 0;  // "HTML Format"
};

// The kind of the first format it knows, in the clipboard's order; a text
// item becomes HTML when the clipboard also holds "HTML Format".
HistoryKind HistoryItemKind(std::span<const std::uint32_t> formats, const HistoryFormatIds& ids);

// A predefined format's name without "CF_", "RTF" and "HTMLFORMAT" for the
// two registered ones; "" for any other format.
std::wstring HistoryFormatName(std::uint32_t format, const HistoryFormatIds& ids);

// The lines of an item's format file: Unicode text's name, then plain text's,
// then every other named format in order; when none has a name, the
// registered name of the first format.
std::vector<std::wstring> HistoryFormatNames(std::span<const std::uint32_t> formats, const HistoryFormatIds& ids,
                                             const std::function<std::wstring(std::uint32_t)>& registeredName);

// One line of "ClipboardInfo.txt": columns 1-6 number, 7-8 kind, 9-18 size,
// 19-28 hash, 29-48 date and time, 49 marker, then the description.
struct HistoryIndexEntry {
  int number = 0;
  HistoryKind kind = HistoryKind::None;
  std::int64_t size = 0;  // characters, files or KB, by kind
  std::int32_t hash = 0;
  std::wstring savedAt;   // the system's short date and long time
  wchar_t marker = L' ';
  std::wstring description;
};
std::wstring BuildHistoryIndexLine(const HistoryIndexEntry& entry);

// Columns 1-6 (number) and 19-28 (hash), blank-trimmed, read as integers:
// 0 and nothing when they are not a number.
int ItemNumberOfLine(std::wstring_view line);
std::optional<std::int32_t> HashOfLine(std::wstring_view line);

// The largest item number of the lines; 0 for none.
int LastItemNumber(const std::vector<std::wstring>& lines);
// After 999999 comes 1.
int NextItemNumber(int current);

// Over the snapshot's bytes: even positions add the byte, odd ones half the
// byte times the position; above 1000000000 the sum is taken modulo it.
// The sum wraps as a signed 32-bit number would.
std::int32_t HistoryContentHash(std::span<const std::uint8_t> bytes);

// The first character of `text`; a blank for none, a digit or a line break.
wchar_t HistoryMarker(std::wstring_view text);

// The text preview file: the first 1024 characters and a line break, then a
// line "..." when the text is longer.
std::wstring HistoryTextPreview(std::wstring_view text);

struct PictureSize {
  int width = 0, height = 0;
  bool operator==(const PictureSize&) const = default;
};
// Fitted into 320 x 240 keeping the proportions, never enlarged, rounded.
PictureSize HistoryThumbnailSize(int width, int height);

// The most items a history keeps (the settings window's largest value): the
// store never writes an index of more lines.
inline constexpr int kMostHistoryItems = 1000;
// What a reader takes of an index file. The store's lines are at most 72
// characters (the columns, the marker and a picture's size); a file far
// beyond what it writes is damaged: more lines than four full histories, or
// a line of more characters than these (in UTF-8 at most 4 bytes each).
inline constexpr std::size_t kHistoryIndexMostLines = 4 * kMostHistoryItems;
inline constexpr std::size_t kHistoryLineMostChars = 512;
inline constexpr std::size_t kHistoryLineMostBytes = 4 * kHistoryLineMostChars;
// Its mark, then every line with CR LF.
inline constexpr std::uintmax_t kHistoryIndexMostBytes = 3 + kHistoryIndexMostLines * (kHistoryLineMostBytes + 2);

// Reads index file bytes (UTF-8, with or without its mark; CR LF or LF) as
// they come, holding no more than one line besides the lines read. A line
// break inside a line, which older files may hold in the marker column,
// reads as a blank, and a line split there is joined again.
class HistoryIndexReader {
 public:
  // False once the bytes are damaged; the rest is not looked at.
  bool Feed(std::string_view bytes);
  // The lines; nothing for damaged bytes.
  std::optional<std::vector<std::wstring>> Finish();

 private:
  void EndLine();

  std::string pending_;
  std::vector<std::wstring> lines_;
  bool firstLine_ = true;
  bool damaged_ = false;
};
std::optional<std::vector<std::wstring>> ReadHistoryIndex(std::string_view bytes);
// Lines as the file: UTF-8 with its mark, CR LF after each; a line break
// inside a line is written as a blank, so every line reads back whole.
std::string WriteHistoryIndex(const std::vector<std::wstring>& lines);

}  // namespace snibbet
