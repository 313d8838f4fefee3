#pragma once
// Icon-set files (".zqi"): the pictures and hints of one application's
// keyboard shortcuts, read from bytes in memory. Window-free: the picture
// strip and the set's icon are only located and checked here; turning them
// into an image list and an icon is the Windows side's (core/icon_sets.*).
//
// Layout, little-endian: "ZQI1"; three short texts (a length byte, then that
// many bytes in the system code page): executable name, window class, a note;
// the icon (a 16-bit size, then that many bytes of a .ico file); the entry
// count (16-bit), each entry Id (16-bit), Kind (8-bit), short text; then to
// the end a .bmp file, a strip of 16 x 16 pictures, one per entry.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/control_set.h"

namespace snibbet {

inline constexpr std::string_view kIconSetMagic = "ZQI1";
inline constexpr wchar_t kIconSetExtension[] = L".zqi";
inline constexpr int kIconPictureSize = 16;
// An index slot of a Kind without entries.
inline constexpr std::uint16_t kNoIconEntry = 65500;

enum class IconSetReadStatus {
  Complete,
  BadFormat,  // wrong magic, cut short, or a damaged icon or picture strip
};

// Where a strip's pixels sit in the bitmap file; every part lies inside it.
struct BitmapStripLayout {
  std::size_t infoOffset = 0;  // the info header and its colour table
  std::size_t infoSize = 0;
  std::size_t bitsOffset = 0;
  std::size_t bitsSize = 0;
  int width = 0;
  int height = 0;  // negative: top-down rows
  int Pictures() const { return width / kIconPictureSize; }
};
// None unless the bytes are a whole uncompressed bitmap file 16 pixels high.
std::optional<BitmapStripLayout> ReadBitmapStripLayout(std::string_view bmp);

// The one image of an icon file to load: the 16-pixel one if there is one,
// else the first; none unless the directory and that image lie inside.
struct IconImageLayout {
  std::size_t offset = 0;
  std::size_t size = 0;
};
std::optional<IconImageLayout> ReadIconImageLayout(std::string_view ico);

struct IconSetFileEntry {
  std::uint16_t id = 0;  // the modifier set of the shortcut
  std::uint8_t kind = 0;  // the virtual key (0: a held modifier)
  std::string text;       // system code page, cut at its first zero byte
};

struct IconSetFile {
  IconSetReadStatus status = IconSetReadStatus::BadFormat;
  // Filled as far as the read got, also when it failed.
  std::string executable;
  std::string windowClass;
  std::string note;
  std::string icon;  // a .ico file, empty for none
  // The full read only.
  std::vector<IconSetFileEntry> entries;
  std::string strip;  // a .bmp file
  std::optional<BitmapStripLayout> stripLayout;
};

// The header only (texts and icon), or with `full` the entries and the strip.
IconSetFile ReadIconSetFile(std::string_view bytes, bool full);

// One entry of a loaded set, in file order; picture i belongs to entry i.
struct IconEntry {
  std::uint8_t kind = 0;
  std::uint16_t id = 0;
  std::wstring text;
};

// The run of entries of each Kind, for lookups in a few comparisons.
class IconEntryIndex {
 public:
  using Run = std::pair<std::uint16_t, std::uint16_t>;  // first, last

  IconEntryIndex() { Clear(); }
  void Clear();
  // Entries must be grouped by Kind; a Kind with two runs keeps the later.
  void Build(const std::vector<IconEntry>& entries);
  const Run& RunOf(std::uint8_t kind) const { return runs_[kind]; }
  // The first entry of the Kind whose Id is `set` or `sideLessSet`.
  std::optional<std::size_t> Find(const std::vector<IconEntry>& entries, std::uint8_t kind, ControlSet set,
                                  ControlSet sideLessSet) const;
  // The first entry of the Kind whose Id is exactly `id`.
  std::optional<std::size_t> FindId(const std::vector<IconEntry>& entries, std::uint8_t kind,
                                    std::uint16_t id) const;
  // The entries of the Kind's run, in order; empty for none.
  std::vector<std::size_t> EntriesOf(std::uint8_t kind) const;

 private:
  std::array<Run, 256> runs_;
};

// Whether a set with these header names belongs to the application: it names
// at least one of them, an executable name it gives matches without regard to
// case, a window class it gives matches exactly.
bool IconSetBelongsTo(std::wstring_view setExecutable, std::wstring_view setWindowClass,
                      std::wstring_view executable, std::wstring_view windowClass);

// The sets of the running Windows version, by its major and minor number.
std::wstring WindowsIconSetName(unsigned major, unsigned minor);
std::wstring DesktopIconSetName(unsigned major, unsigned minor);

}  // namespace snibbet
