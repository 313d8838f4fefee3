// The history store's save: 150 ms after the last change of a burst, the
// clipboard becomes the next numbered item with its format names, preview,
// the foreground window's icon, the whole clipboard and its index line.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "clipboard/clipboard_monitor.h"
#include "clipboard/history_thumbnail.h"
#include "core/clipboard_access.h"
#include "core/clipboard_snapshot.h"
#include "core/debug_log.h"
#include "core/window_helpers.h"
#include "ui/gdi.h"

namespace snibbet {
namespace {

constexpr UINT kIconWaitMs = 100;

std::vector<std::uint32_t> ClipboardFormatsInOrder() {
  std::vector<std::uint32_t> formats;
  ClipboardSession clipboard;
  if (!clipboard.IsOpen()) return formats;
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) formats.push_back(format);
  return formats;
}

std::wstring RegisteredFormatName(std::uint32_t format) {
  wchar_t name[256] = {};
  const int length = GetClipboardFormatNameW(format, name, 256);
  return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

bool Holds(const std::vector<std::uint32_t>& formats, std::initializer_list<UINT> any) {
  return std::any_of(any.begin(), any.end(), [&](UINT format) {
    return std::find(formats.begin(), formats.end(), format) != formats.end();
  });
}

// The size of the first format's data of at least 1 KB (or of the last one
// that could be read), in whole KB.
std::int64_t DataSizeInKb(const std::vector<std::uint32_t>& formats) {
  ClipboardSession clipboard;
  if (!clipboard.IsOpen()) return 0;
  std::size_t size = 0;
  for (std::uint32_t format : formats) {
    const LockedGlobalBlock block(GetClipboardData(format));
    if (!block.Data()) continue;
    size = block.Size();
    if (size >= 1024) break;
  }
  return static_cast<std::int64_t>(size / 1024);
}

std::wstring SavedAt() {
  wchar_t date[128] = {}, time[128] = {};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 128);
  GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, 128);
  return std::wstring(date) + L" " + time;
}

// The clipboard's picture drawn on white, as top-down 0x00RRGGBB pixels.
struct ClipboardPicture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
};

template <class Draw>
void Render(ClipboardPicture& picture, Draw draw) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const ui::Bitmap target(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!target) return;
  const ui::MemoryDC dc;
  {
    const ui::SelectedObject selected(dc, target.Get());
    const RECT area{0, 0, picture.width, picture.height};
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    draw(dc.Get(), area);
    GdiFlush();
  }
  const auto* first = static_cast<const std::uint32_t*>(bits);
  picture.pixels.assign(first, first + static_cast<std::size_t>(picture.width) * picture.height);
  for (auto& pixel : picture.pixels) pixel &= 0x00FFFFFF;
}

ClipboardPicture TakeClipboardPicture() {
  ClipboardPicture picture;
  ClipboardSession clipboard;
  if (!clipboard.IsOpen()) return picture;
  if (auto* bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info)) return picture;
    picture.width = info.bmWidth;
    picture.height = std::abs(info.bmHeight);
    if (picture.width <= 0 || picture.height <= 0) return picture;
    Render(picture, [&](HDC dc, const RECT&) {
      const ui::MemoryDC source(dc);
      const ui::SelectedObject selected(source, bitmap);
      BitBlt(dc, 0, 0, picture.width, picture.height, source, 0, 0, SRCCOPY);
    });
  } else if (auto* metafile = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE))) {
    ENHMETAHEADER header{};
    if (!GetEnhMetaFileHeader(metafile, sizeof header, &header)) return picture;
    const ui::WindowDC screen;
    // The frame is in 0.01 mm.
    picture.width = MulDiv(header.rclFrame.right - header.rclFrame.left, GetDeviceCaps(screen, LOGPIXELSX), 2540);
    picture.height = MulDiv(header.rclFrame.bottom - header.rclFrame.top, GetDeviceCaps(screen, LOGPIXELSY), 2540);
    if (picture.width <= 0 || picture.height <= 0) return picture;
    Render(picture, [&](HDC dc, const RECT& area) { PlayEnhMetaFile(dc, metafile, &area); });
  }
  return picture;
}

std::vector<std::wstring> DroppedFiles() {
  std::vector<std::wstring> paths;
  ClipboardSession clipboard;
  if (!clipboard.IsOpen()) return paths;
  auto* drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
  if (!drop) return paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
    paths.push_back(std::move(path));
  }
  return paths;
}

// An icon as a one-picture icon file of 32 bits per pixel.
std::string IconFile(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {};
  const ui::Bitmap color(info.hbmColor), mask(info.hbmMask);
  BITMAP size{};
  if (!GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof size, &size)) return {};
  const int width = size.bmWidth, height = info.hbmColor ? size.bmHeight : size.bmHeight / 2;
  if (width <= 0 || height <= 0 || width > 256 || height > 256) return {};
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  const ui::WindowDC screen;
  if (info.hbmColor) {
    GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(height), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  }
  // The AND mask: 1 bit per pixel, rows padded to 32 bits.
  const std::size_t maskStride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
  std::vector<std::uint8_t> andMask(maskStride * height);
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
  } maskInfo{};
  maskInfo.header = header;
  maskInfo.header.biBitCount = 1;
  GetDIBits(screen, info.hbmMask, 0, static_cast<UINT>(height), andMask.data(),
            reinterpret_cast<BITMAPINFO*>(&maskInfo), DIB_RGB_COLORS);

  std::string bytes;
  const auto put = [&](std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  const std::uint32_t imageSize = static_cast<std::uint32_t>(sizeof header + pixels.size() * 4 + andMask.size());
  put(0, 2), put(1, 2), put(1, 2);  // reserved, icon, one picture
  put(width == 256 ? 0 : width, 1), put(height == 256 ? 0 : height, 1), put(0, 1), put(0, 1);
  put(1, 2), put(32, 2), put(imageSize, 4), put(6 + 16, 4);
  header.biHeight = height * 2;  // the colours and the mask
  bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
  bytes.append(reinterpret_cast<const char*>(pixels.data()), pixels.size() * 4);
  bytes.append(reinterpret_cast<const char*>(andMask.data()), andMask.size());
  return bytes;
}

struct Preview {
  std::int64_t size = 0;
  std::wstring description;
  wchar_t marker = L' ';
};

}  // namespace

void TQvClipboardMonitor::tmrSaveTimer() {
  tmrSave.Stop();
  SaveClipboardToFile();
}

void TQvClipboardMonitor::SaveClipboardToFile() {
  if (CountClipboardFormats() == 0) return;
  DebugLog(L"SaveClipboardToFile");
  saving_ = true;
  HistoryKeyboardPort* keyboard = options_.keyboard;
  try {
    if (keyboard) keyboard->BeginInputBlock();
    SaveHistoryItem(options_.historySettings());
  } catch (...) {
    // A save that fails leaves the files written until then; nothing to tell the user.
  }
  saving_ = false;
  try {
    if (keyboard) keyboard->EndInputBlock();
  } catch (...) {
  }
}

void TQvClipboardMonitor::SaveHistoryItem(const ClipboardHistorySettings& settings) {
  if (history_.Folder().empty()) return;  // no clipboard folder known: nowhere to save
  const std::vector<std::uint32_t> formats = ClipboardFormatsInOrder();
  if (formats.empty()) return;
  const HistoryFormatIds ids{RtfClipboardFormat(), HtmlClipboardFormat()};
  const int number = history_.TakeNextNumber();

  std::wstring names;
  for (const auto& name : HistoryFormatNames(formats, ids, RegisteredFormatName)) names += name + L"\r\n";
  history_.WriteItemText(number, L".fmt", names);

  Preview preview;
  try {
    if (Holds(formats, {CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT})) {
      const std::wstring text = GetClipboardTextW();
      preview.size = static_cast<std::int64_t>(text.size());
      preview.marker = HistoryMarker(text);
      history_.WriteItemText(number, L".txt", HistoryTextPreview(text));
    } else if (Holds(formats, {CF_RIFF, CF_WAVE})) {
      preview.size = DataSizeInKb(formats);
      history_.WriteItemText(number, L".txt", placeholderNote_);
    } else if (Holds(formats, {CF_BITMAP, CF_METAFILEPICT, CF_ENHMETAFILE})) {
      preview.size = DataSizeInKb(formats);
      const ClipboardPicture picture = TakeClipboardPicture();
      preview.description = std::to_wstring(picture.width) + L" x " + std::to_wstring(picture.height);
      if (!picture.pixels.empty()) {
        const PictureSize thumbnail = HistoryThumbnailSize(picture.width, picture.height);
        const auto pixels = ResampleLanczos3(picture.pixels, picture.width, picture.height, thumbnail.width,
                                             thumbnail.height);
        history_.WriteItemFile(number, L".bmp", BitmapFile24(pixels, thumbnail.width, thumbnail.height));
        history_.DeleteItemFile(number, L"small.bmp");
      }
    } else if (Holds(formats, {CF_HDROP})) {
      const std::vector<std::wstring> paths = DroppedFiles();
      preview.size = static_cast<std::int64_t>(paths.size());
      std::wstring lines;
      for (const auto& path : paths) lines += path + L"\r\n";
      history_.WriteItemText(number, L".txt", lines);
      if (!paths.empty()) preview.marker = HistoryMarker(paths.back());
    } else {
      preview.size = DataSizeInKb(formats);
      history_.WriteItemText(number, L".txt", L"\r\n");
    }
  } catch (...) {
    // A preview that fails leaves the item without it.
  }

  if (HICON icon = GetWindowIconHandle(GetForegroundWindow(), kIconWaitMs)) {
    history_.WriteItemFile(number, L".ico", IconFile(icon));
    DestroyIcon(icon);
  }

  history_.WriteItemFile(number, L".stm", {});
  snapshot_.Clear();
  snapshotSequence_ = GetClipboardSequenceNumber();
  if (!SaveClipboardToStream(snapshot_)) return;  // no index line for an item not saved whole
  // The snapshot holds the clipboard now: a paste keeps it instead of taking another.
  snapshotHeld_ = snapshotUsable_ = true;
  const auto& bytes = snapshot_.Bytes();
  const std::int32_t hash = settings.unique ? HistoryContentHash(bytes) : 0;
  history_.WriteItemFile(number, L".stm",
                         std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  const HistoryIndexEntry entry{number, HistoryItemKind(formats, ids), preview.size, hash, SavedAt(),
                                preview.marker, preview.description};
  history_.AddItem(BuildHistoryIndexLine(entry), settings.unique ? std::optional(hash) : std::nullopt,
                   settings.maxItems);
}

}  // namespace snibbet
