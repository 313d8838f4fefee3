#include "core/icon_set_file.h"

#include <algorithm>
#include <cwctype>

namespace snibbet {
namespace {

// Reads little-endian fields; once a read runs past the end every later read
// fails too, so a caller checks once at a convenient point.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  bool Ok() const { return ok_; }
  std::size_t Remaining() const { return ok_ ? bytes_.size() - at_ : 0; }

  std::string_view Take(std::size_t count) {
    if (!ok_ || count > bytes_.size() - at_) {
      ok_ = false;
      return {};
    }
    const std::string_view part = bytes_.substr(at_, count);
    at_ += count;
    return part;
  }
  std::uint8_t U8() {
    const std::string_view b = Take(1);
    return b.empty() ? 0 : static_cast<std::uint8_t>(b[0]);
  }
  std::uint16_t U16() {
    const std::string_view b = Take(2);
    return b.empty() ? 0 : static_cast<std::uint16_t>(Byte(b, 0) | Byte(b, 1) << 8);
  }
  // A length byte and that many bytes; the text ends at its first zero byte.
  std::string ShortText() {
    const std::uint8_t length = U8();
    std::string text(Take(length));
    if (const std::size_t zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
    return text;
  }
  std::string_view Rest() { return Take(Remaining()); }

 private:
  static unsigned Byte(std::string_view b, std::size_t i) { return static_cast<unsigned char>(b[i]); }

  std::string_view bytes_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

std::uint32_t U32At(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}
std::uint16_t U16At(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    static_cast<unsigned char>(bytes[at + 1]) << 8);
}

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kLargestInfoHeaderSize = 124;
constexpr std::uint32_t kUncompressed = 0, kBitFields = 3;
// More pictures than an entry count can name is not a strip of ours.
constexpr std::int64_t kWidestStrip = std::int64_t{kIconPictureSize} * 65535;

}  // namespace

std::optional<BitmapStripLayout> ReadBitmapStripLayout(std::string_view bmp) {
  if (bmp.size() < kFileHeaderSize + kInfoHeaderSize || bmp.substr(0, 2) != "BM") return std::nullopt;
  const std::uint32_t infoHeaderSize = U32At(bmp, 14);
  if (infoHeaderSize < kInfoHeaderSize || infoHeaderSize > kLargestInfoHeaderSize ||
      infoHeaderSize > bmp.size() - kFileHeaderSize)
    return std::nullopt;
  const auto width = static_cast<std::int32_t>(U32At(bmp, 18));
  const auto height = static_cast<std::int32_t>(U32At(bmp, 22));
  const std::uint16_t planes = U16At(bmp, 26);
  const std::uint16_t bitCount = U16At(bmp, 28);
  const std::uint32_t compression = U32At(bmp, 30);
  const std::uint32_t coloursUsed = U32At(bmp, 46);
  if (planes != 1 || width < kIconPictureSize || width > kWidestStrip ||
      (height != kIconPictureSize && height != -kIconPictureSize))
    return std::nullopt;
  std::uint64_t tableBytes = 0;
  switch (bitCount) {
    case 1:
    case 4:
    case 8: {
      const std::uint32_t most = 1u << bitCount;
      if (compression != kUncompressed || coloursUsed > most) return std::nullopt;
      tableBytes = std::uint64_t{coloursUsed ? coloursUsed : most} * 4;
      break;
    }
    case 16:
    case 24:
    case 32:
      if (compression == kBitFields && bitCount != 24) {
        // The three masks follow a plain info header; larger headers hold them.
        if (infoHeaderSize == kInfoHeaderSize) tableBytes = 12;
      } else if (compression != kUncompressed) {
        return std::nullopt;
      }
      if (coloursUsed > 256) return std::nullopt;
      tableBytes += std::uint64_t{coloursUsed} * 4;
      break;
    default:
      return std::nullopt;
  }
  const std::uint64_t infoSize = infoHeaderSize + tableBytes;
  const std::uint64_t rowBytes = (std::uint64_t(width) * bitCount + 31) / 32 * 4;
  const std::uint64_t bitsSize = rowBytes * kIconPictureSize;
  const std::uint64_t bitsOffset = U32At(bmp, 10);
  if (kFileHeaderSize + infoSize > bitsOffset || bitsOffset > bmp.size() || bitsSize > bmp.size() - bitsOffset)
    return std::nullopt;
  BitmapStripLayout layout;
  layout.infoOffset = kFileHeaderSize;
  layout.infoSize = static_cast<std::size_t>(infoSize);
  layout.bitsOffset = static_cast<std::size_t>(bitsOffset);
  layout.bitsSize = static_cast<std::size_t>(bitsSize);
  layout.width = width;
  layout.height = height;
  return layout;
}

std::optional<IconImageLayout> ReadIconImageLayout(std::string_view ico) {
  constexpr std::size_t kDirectorySize = 6, kEntrySize = 16;
  if (ico.size() < kDirectorySize || U16At(ico, 0) != 0 || U16At(ico, 2) != 1) return std::nullopt;
  const std::size_t count = U16At(ico, 4);
  if (count == 0 || count > (ico.size() - kDirectorySize) / kEntrySize) return std::nullopt;
  std::size_t chosen = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (static_cast<unsigned char>(ico[kDirectorySize + i * kEntrySize]) == kIconPictureSize) {
      chosen = i;
      break;
    }
  }
  const std::size_t entry = kDirectorySize + chosen * kEntrySize;
  const std::uint32_t size = U32At(ico, entry + 8);
  const std::uint32_t offset = U32At(ico, entry + 12);
  // At least an info header (or a PNG signature and its header chunk).
  if (size < kInfoHeaderSize || offset > ico.size() || size > ico.size() - offset) return std::nullopt;
  return IconImageLayout{offset, size};
}

IconSetFile ReadIconSetFile(std::string_view bytes, bool full) {
  IconSetFile file;
  ByteReader in(bytes);
  if (in.Take(kIconSetMagic.size()) != kIconSetMagic) return file;
  file.executable = in.ShortText();
  file.windowClass = in.ShortText();
  file.note = in.ShortText();
  const std::uint16_t iconSize = in.U16();
  const std::string_view icon = in.Take(iconSize);
  if (!in.Ok() || (iconSize != 0 && !ReadIconImageLayout(icon))) return file;
  file.icon = icon;
  if (!full) {
    file.status = IconSetReadStatus::Complete;
    return file;
  }
  const std::uint16_t count = in.U16();
  // Each entry takes at least four bytes: a wild count allocates nothing.
  file.entries.reserve(std::min<std::size_t>(count, in.Remaining() / 4));
  for (std::uint16_t i = 0; i < count && in.Ok(); ++i) {
    IconSetFileEntry entry;
    entry.id = in.U16();
    entry.kind = in.U8();
    entry.text = in.ShortText();
    file.entries.push_back(std::move(entry));
  }
  if (!in.Ok()) return file;
  file.strip = in.Rest();
  file.stripLayout = ReadBitmapStripLayout(file.strip);
  if (!file.stripLayout) return file;
  // One entry per picture: entries without one go, pictures without one get an empty one.
  file.entries.resize(static_cast<std::size_t>(file.stripLayout->Pictures()));
  file.status = IconSetReadStatus::Complete;
  return file;
}

void IconEntryIndex::Clear() { runs_.fill({kNoIconEntry, kNoIconEntry}); }

void IconEntryIndex::Build(const std::vector<IconEntry>& entries) {
  Clear();
  if (entries.empty()) return;
  std::uint8_t kind = entries.front().kind;
  runs_[kind].first = 0;
  for (std::size_t i = 1; i < entries.size(); ++i) {
    if (entries[i].kind == kind) continue;
    runs_[kind].second = static_cast<std::uint16_t>(i - 1);
    kind = entries[i].kind;
    runs_[kind].first = static_cast<std::uint16_t>(i);
  }
  runs_[kind].second = static_cast<std::uint16_t>(entries.size() - 1);
}

std::vector<std::size_t> IconEntryIndex::EntriesOf(std::uint8_t kind) const {
  const Run& run = runs_[kind];
  std::vector<std::size_t> positions;
  if (run.first == kNoIconEntry || run.second == kNoIconEntry || run.second < run.first) return positions;
  for (std::size_t i = run.first; i <= run.second; ++i) positions.push_back(i);
  return positions;
}

std::optional<std::size_t> IconEntryIndex::Find(const std::vector<IconEntry>& entries, std::uint8_t kind,
                                                ControlSet set, ControlSet sideLessSet) const {
  for (const std::size_t i : EntriesOf(kind)) {
    if (i < entries.size() && (entries[i].id == set || entries[i].id == sideLessSet)) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> IconEntryIndex::FindId(const std::vector<IconEntry>& entries, std::uint8_t kind,
                                                  std::uint16_t id) const {
  for (const std::size_t i : EntriesOf(kind)) {
    if (i < entries.size() && entries[i].id == id) return i;
  }
  return std::nullopt;
}

namespace {

bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return std::towupper(static_cast<wint_t>(x)) == std::towupper(static_cast<wint_t>(y));
         });
}

}  // namespace

bool IconSetBelongsTo(std::wstring_view setExecutable, std::wstring_view setWindowClass,
                      std::wstring_view executable, std::wstring_view windowClass) {
  if (setExecutable.empty() && setWindowClass.empty()) return false;
  return (setExecutable.empty() || EqualIgnoringCase(setExecutable, executable)) &&
         (setWindowClass.empty() || setWindowClass == windowClass);
}

namespace {

enum class WindowsGeneration { W2000, XP, Later };

WindowsGeneration GenerationOf(unsigned major, unsigned minor) {
  if (major == 5 && minor == 0) return WindowsGeneration::W2000;
  // XP, XP x64, Server 2003 and 2003 R2.
  if (major == 5 && (minor == 1 || minor == 2)) return WindowsGeneration::XP;
  return WindowsGeneration::Later;
}

}  // namespace

std::wstring WindowsIconSetName(unsigned major, unsigned minor) {
  switch (GenerationOf(major, minor)) {
    case WindowsGeneration::W2000: return L"Win2000";
    case WindowsGeneration::XP: return L"WinXP";
    default: return L"WinVista";
  }
}

std::wstring DesktopIconSetName(unsigned major, unsigned minor) {
  switch (GenerationOf(major, minor)) {
    case WindowsGeneration::W2000: return L"Desktop2000";
    case WindowsGeneration::XP: return L"DesktopXP";
    default: return L"DesktopVista";
  }
}

}  // namespace snibbet
