#include "core/icon_sets.h"

#include <cstring>

#include "core/file_bytes.h"
#include "core/lang_table.h"
#include "core/message_boxes.h"
#include "core/paths.h"
#include "core/program_folder.h"
#include "core/text_utils.h"
#include "ui/gdi.h"

namespace snibbet {
namespace {

constexpr COLORREF kTransparentPictureColour = RGB(0, 255, 0);  // lime
constexpr COLORREF kMissingPictureColour = 0x777777;

std::wstring FromSystemCodePage(const std::string& text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

// The bytes copied to storage aligned for the system's structures.
std::vector<std::uint32_t> AlignedCopy(std::string_view bytes) {
  std::vector<std::uint32_t> copy((bytes.size() + 3) / 4);
  if (!bytes.empty()) std::memcpy(copy.data(), bytes.data(), bytes.size());
  return copy;
}

// The strip as a section straight from the file's bytes: no temporary file.
ui::Bitmap StripBitmap(const std::string& bmp, const BitmapStripLayout& layout) {
  const std::vector<std::uint32_t> info = AlignedCopy(std::string_view(bmp).substr(layout.infoOffset, layout.infoSize));
  void* bits = nullptr;
  ui::Bitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS,
                                     &bits, nullptr, 0));
  if (!bitmap || !bits) return {};
  std::memcpy(bits, bmp.data() + layout.bitsOffset, layout.bitsSize);
  GdiFlush();
  return bitmap;
}

ui::IconHandle IconFromFileBytes(const std::string& ico) {
  const std::optional<IconImageLayout> image = ReadIconImageLayout(ico);
  if (!image) return {};
  std::vector<std::uint32_t> bytes = AlignedCopy(std::string_view(ico).substr(image->offset, image->size));
  return ui::IconHandle(CreateIconFromResourceEx(reinterpret_cast<PBYTE>(bytes.data()),
                                                 static_cast<DWORD>(image->size), TRUE, 0x00030000,
                                                 kIconPictureSize, kIconPictureSize, LR_DEFAULTCOLOR));
}

bool ValidKind(int kind) { return kind >= 0 && kind <= 255; }

}  // namespace

std::wstring GetIconsFolder() { return JoinPath(ProgramFolder(), L"Icons\\"); }

// --- one set ------------------------------------------------------------------

TQvIcons::TQvIcons(std::wstring folder, IconSetErrorSink showError)
    : folder_(folder.empty() ? GetIconsFolder() : std::move(folder)),
      showError_(showError ? std::move(showError) : IconSetErrorSink(ShowErrorMessage)) {}

std::wstring TQvIcons::GetFileName() const { return folder_ + name_ + kIconSetExtension; }

bool TQvIcons::LoadFromFile(const std::wstring& name, bool full, bool force) {
  // A set that failed once stays as it is: a foreground change must not
  // read it again and repeat its message each time.
  if (!force && (loaded_ || (failed_ && name == name_))) return loaded_;
  name_ = name;
  Clear();
  failed_ = false;
  const std::wstring path = GetFileName();
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    failed_ = true;
    return false;
  }
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) {
    failed_ = true;
    showError_(FormatText(LangText(704, L"Cannot read the file \"%1\"."), {path}));
    return false;
  }
  const IconSetFile file = ReadIconSetFile(*bytes, full);
  executable_ = FromSystemCodePage(file.executable);
  windowClass_ = FromSystemCodePage(file.windowClass);
  note_ = FromSystemCodePage(file.note);
  if (file.status != IconSetReadStatus::Complete) return Fail(path);
  if (!file.icon.empty()) {
    icon_ = IconFromFileBytes(file.icon);
    if (!icon_) return Fail(path);
  }
  if (full) {
    if (!LoadPictures(file)) return Fail(path);
    entries_.reserve(file.entries.size());
    for (const IconSetFileEntry& entry : file.entries)
      entries_.push_back(IconEntry{entry.kind, entry.id, FromSystemCodePage(entry.text)});
    entries_.resize(static_cast<std::size_t>(images_.Count()));
  }
  BuildIndex();
  loaded_ = full;
  return true;
}

bool TQvIcons::Fail(const std::wstring& path) {
  Clear();
  failed_ = true;
  showError_(FormatText(LangText(7, L"The file \"%1\" is damaged or is not a file of Orvane Paste."), {path}));
  return false;
}

bool TQvIcons::LoadPictures(const IconSetFile& file) {
  if (!file.stripLayout) return false;
  const ui::Bitmap strip = StripBitmap(file.strip, *file.stripLayout);
  if (!strip) return false;
  const int pictures = file.stripLayout->Pictures();
  images_ = ui::ImageList(kIconPictureSize, kIconPictureSize, pictures);
  if (ImageList_AddMasked(images_.Get(), strip.Get(), kTransparentPictureColour) < 0) return false;
  return images_.Count() == pictures;
}

void TQvIcons::Clear() {
  entries_.clear();
  images_.Clear();
  icon_.Reset();
  loaded_ = false;
  BuildIndex();
}

void TQvIcons::BuildIndex() { index_.Build(entries_); }

bool TQvIcons::DrawEntry(HDC dc, int kind, int x, int y, ControlSet sideLessSet, ControlSet set) const {
  if (!ValidKind(kind)) return false;
  const std::optional<std::size_t> entry = index_.Find(entries_, static_cast<std::uint8_t>(kind), set, sideLessSet);
  if (!entry || static_cast<int>(*entry) >= images_.Count()) return false;
  images_.Draw(static_cast<int>(*entry), dc, x, y, ILD_TRANSPARENT);
  return true;
}

bool TQvIcons::DrawHotkeySquares(HDC dc, int kind, int x, int y) const {
  if (!ValidKind(kind)) return false;
  bool drawn = false;
  for (const std::size_t i : index_.EntriesOf(static_cast<std::uint8_t>(kind))) {
    if (i >= entries_.size()) break;
    POINT at{};
    COLORREF colour = 0;
    switch (entries_[i].id) {
      case kLeftCtrlBit | kLeftShiftBit: at = {x, y}, colour = 0x01CBFE; break;
      case kLeftCtrlBit: at = {x, y + 5}, colour = 0x589218; break;
      case kLeftAltBit | kLeftShiftBit: at = {x + 5, y}, colour = 0x1A4EFF; break;
      case kLeftAltBit: at = {x + 5, y + 5}, colour = 0xFFD288; break;
      default: continue;
    }
    const ui::Brush brush(CreateSolidBrush(colour));
    const RECT square{at.x, at.y, at.x + 4, at.y + 4};
    FillRect(dc, &square, brush.Get());
    drawn = true;
  }
  return drawn;
}

bool TQvIcons::GetEntry(int kind, ControlSet set, HBITMAP picture, ControlSet sideLessSet,
                        std::wstring& text) const {
  std::size_t entry = 0;
  bool found = false;
  if (ValidKind(kind)) {
    if (const auto at = index_.Find(entries_, static_cast<std::uint8_t>(kind), set, sideLessSet)) {
      entry = *at;
      found = true;
    }
  }
  ui::MemoryDC dc;
  std::optional<ui::SelectedObject> selected;
  if (picture) selected.emplace(dc.Get(), picture);
  if (!found) {
    text.clear();
    if (picture) {
      const ui::Brush grey(CreateSolidBrush(kMissingPictureColour));
      const RECT all{0, 0, kIconPictureSize, kIconPictureSize};
      FillRect(dc.Get(), &all, grey.Get());
    }
    return false;
  }
  text = entries_[entry].text;
  if (picture && static_cast<int>(entry) < images_.Count()) images_.Draw(static_cast<int>(entry), dc.Get(), 0, 0, ILD_NORMAL);
  return true;
}

void TQvIcons::DeleteEntry(int kind, std::uint16_t id) {
  if (!ValidKind(kind)) return;
  const std::optional<std::size_t> entry = index_.FindId(entries_, static_cast<std::uint8_t>(kind), id);
  if (!entry) return;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(*entry));
  if (static_cast<int>(*entry) < images_.Count()) ImageList_Remove(images_.Get(), static_cast<int>(*entry));
  BuildIndex();
}

// --- the list -----------------------------------------------------------------

TQvIconsList::TQvIconsList(std::wstring folder, IconSetErrorSink showError)
    : folder_(folder.empty() ? GetIconsFolder() : std::move(folder)), showError_(std::move(showError)) {}

void TQvIconsList::LoadAll() {
  sets_.clear();
  WIN32_FIND_DATAW found{};
  const ui::FindHandle search(FindFirstFileW((folder_ + L"*" + kIconSetExtension).c_str(), &found));
  if (!search) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::wstring name = found.cFileName;
    name.resize(name.size() > 4 ? name.size() - 4 : 0);
    bool listed = false;
    for (const auto& set : sets_) listed = listed || set->Name() == name;
    if (listed) continue;
    auto set = std::make_unique<TQvIcons>(folder_, showError_);
    // Listed whatever the header read answers: a damaged set is found by
    // name and stays quiet after its one message.
    set->LoadFromFile(name, false, false);
    sets_.push_back(std::move(set));
  } while (FindNextFileW(search.Get(), &found));
}

TQvIcons* TQvIconsList::FindByName(const std::wstring& name, bool full) {
  for (const auto& set : sets_) {
    if (set->Name() != name) continue;
    if (full) set->LoadFromFile(name, true, false);
    return set.get();
  }
  return nullptr;
}

TQvIcons* TQvIconsList::FindByApplication(const std::wstring& executable, const std::wstring& windowClass) {
  for (const auto& set : sets_) {
    if (!IconSetBelongsTo(set->Executable(), set->WindowClass(), executable, windowClass)) continue;
    set->LoadFromFile(set->Name(), true, false);
    return set.get();
  }
  return nullptr;
}

namespace {

OSVERSIONINFOW RunningVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(&info);
#pragma GCC diagnostic pop
  return info;
}

}  // namespace

std::wstring RunningWindowsIconSetName() {
  const OSVERSIONINFOW version = RunningVersion();
  return WindowsIconSetName(version.dwMajorVersion, version.dwMinorVersion);
}

std::wstring RunningDesktopIconSetName() {
  const OSVERSIONINFOW version = RunningVersion();
  return DesktopIconSetName(version.dwMajorVersion, version.dwMinorVersion);
}

}  // namespace snibbet
