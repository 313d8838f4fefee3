#include "keyboard/action_icon.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cwctype>
#include <vector>

#include "core/key_names.h"
#include "keyboard/action_kinds.h"
#include "keyboard/action_shell.h"
#include "ui/gdi.h"
#include "ui/handles.h"

namespace snibbet {
namespace {

HFONT CreateSmallTahoma(HDC dc) {
  return CreateFontW(-MulDiv(6, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                     L"Tahoma");
}

void DrawTextIn(HDC dc, const std::wstring& text, RECT rect, HFONT font, COLORREF colour, UINT format) {
  const HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_NOPREFIX);
  SelectObject(dc, old);
}

std::wstring WideKeyName(int vk) {
  const std::string_view name = VirtualKeyName(vk);
  return std::wstring(name.begin(), name.end());
}

std::wstring Trimmed(const std::wstring& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && std::iswspace(text[begin])) ++begin;
  while (end > begin && std::iswspace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

void DrawListImage(HDC dc, HIMAGELIST images, int index) {
  if (images && index >= 0 && index < ImageList_GetImageCount(images)) {
    ImageList_Draw(images, index, dc, 0, 0, ILD_TRANSPARENT);
  }
}

bool DrawShellIcon(HDC dc, const std::wstring& fileName) {
  if (fileName.empty()) return false;
  SHFILEINFOW info{};
  if (!SHGetFileInfoW(fileName.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON) || !info.hIcon) {
    return false;
  }
  const ui::IconHandle icon(info.hIcon);
  DrawIconEx(dc, 0, 0, icon.Get(), kActionIconSize, kActionIconSize, 0, nullptr, DI_NORMAL);
  return true;
}

void DrawKeyBox(HDC dc, int vk) {
  const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
  const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  Rectangle(dc, 0, 0, kActionIconSize, kActionIconSize);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  const ui::Font font(CreateSmallTahoma(dc));
  SetBkMode(dc, TRANSPARENT);
  DrawTextIn(dc, WideKeyName(vk), RECT{1, 1, kActionIconSize - 1, kActionIconSize - 1}, font.Get(), RGB(0, 0, 0),
             DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// The kind's own picture, and for a remapped key the key's name on it.
void DrawKindPicture(HDC dc, const TQvAction& binding, BindingShell& shell) {
  const ActionKindRow* row = KindCatalogue().RowOf(binding.Kind());
  const HIMAGELIST strip = row && row->pictures != ActionPictures::None ? shell.KindImages(row->pictures) : nullptr;
  if (strip) {
    DrawListImage(dc, strip, binding.Param());
    return;
  }
  DrawListImage(dc, shell.ActionImages(), binding.Kind());
  if (binding.Kind() == 2 && binding.Key() != 0) {
    const ui::Font font(CreateSmallTahoma(dc));
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, GetPixel(dc, 11, 4));
    DrawTextIn(dc, WideKeyName(binding.Key()), RECT{2, 2, 11, 10}, font.Get(), RGB(0, 0, 0),
               DT_LEFT | DT_TOP | DT_SINGLELINE);
  }
}

}  // namespace

void DrawActionIcon(const TQvAction& binding, HBITMAP bitmap, COLORREF background, BindingShell& shell) {
  const ui::MemoryDC dc;
  const ui::SelectedObject drawingOn(dc.Get(), bitmap);
  {
    const ui::Brush brush(CreateSolidBrush(background));
    RECT all{0, 0, kActionIconSize, kActionIconSize};
    FillRect(dc.Get(), &all, brush.Get());
  }
  const int kind = binding.Kind();
  if (kind == 5) {
    if (!DrawShellIcon(dc.Get(), Trimmed(binding.Text()))) DrawListImage(dc.Get(), shell.ActionImages(), kind);
  } else if (kind == 3 && (binding.Text().size() == 1 || binding.Text().size() == 2)) {
    SetBkMode(dc.Get(), TRANSPARENT);
    DrawTextIn(dc.Get(), binding.Text(), RECT{0, 0, kActionIconSize, kActionIconSize}, shell.KeyboardFont(),
               RGB(0, 0, 0), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  } else if (kind == 2 && binding.Modifiers() != 0 && binding.Param() > 0) {
    const int picture = shell.KeyPictureIndex(binding.Param());
    const HIMAGELIST keys = shell.KeyImages();
    if (keys && picture >= 0) {
      DrawListImage(dc.Get(), keys, picture);
    } else {
      DrawKeyBox(dc.Get(), binding.Param());
    }
  } else if (const auto* icon = dynamic_cast<const IconPicture*>(binding.Picture()); kind == 6 && icon) {
    DrawIconEx(dc.Get(), 0, 0, icon->Icon(), kActionIconSize, kActionIconSize, 0, nullptr, DI_NORMAL);
  } else {
    DrawKindPicture(dc.Get(), binding, shell);
  }
  GdiFlush();
}

bool SaveBitmapFile(HBITMAP bitmap, const std::wstring& fileName) {
  BITMAP info{};
  if (!GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = info.bmWidth;
  header.biHeight = info.bmHeight;  // bottom-up, as ".bmp" files are
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const DWORD stride = ((static_cast<DWORD>(info.bmWidth) * 3 + 3) / 4) * 4;
  header.biSizeImage = stride * static_cast<DWORD>(info.bmHeight);
  std::vector<BYTE> bits(header.biSizeImage);
  const int lines = GetDIBits(ui::WindowDC(nullptr).Get(), bitmap, 0, static_cast<UINT>(info.bmHeight), bits.data(),
                              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  if (lines != info.bmHeight) return false;

  BITMAPFILEHEADER fileHeader{};
  fileHeader.bfType = 0x4D42;  // "BM"
  fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
  fileHeader.bfSize = fileHeader.bfOffBits + header.biSizeImage;
  bool ok = false;
  {
    const ui::FileHandle file(
        CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    ok = WriteFile(file.Get(), &fileHeader, sizeof fileHeader, &written, nullptr) && written == sizeof fileHeader;
    ok = ok && WriteFile(file.Get(), &header, sizeof header, &written, nullptr) && written == sizeof header;
    ok = ok && WriteFile(file.Get(), bits.data(), header.biSizeImage, &written, nullptr) &&
         written == header.biSizeImage;
  }  // closed before a failed file is deleted
  if (!ok) DeleteFileW(fileName.c_str());
  return ok;
}

}  // namespace snibbet
