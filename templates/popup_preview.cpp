#include "templates/popup_preview.h"

#include <richedit.h>

#include <algorithm>

#include "ui/scroll_bar_paint.h"
#include "visual/gdiplus.h"

namespace snibbet {
namespace {

const wchar_t* RichEditClass() {
  static const bool loaded = LoadLibraryW(L"riched20.dll") != nullptr;
  (void)loaded;
  return RICHEDIT_CLASSW;
}

struct RtfSource {
  std::string_view rest;
};

DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
  auto& source = *reinterpret_cast<RtfSource*>(cookie);
  const auto n = std::min<std::size_t>(source.rest.size(), static_cast<std::size_t>(size));
  std::copy_n(source.rest.data(), n, buffer);
  source.rest.remove_prefix(n);
  *read = static_cast<LONG>(n);
  return 0;
}


}  // namespace

PreviewViewMark PreviewMemo::Mark() const {
  DWORD start = 0, end = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<long>(start), static_cast<long>(end), GetScrollPos(Handle(), SB_HORZ),
          GetScrollPos(Handle(), SB_VERT)};
}

void PreviewMemo::ShowText(std::wstring_view text) {
  if (!Handle()) return;
  if (loaded_ && text == shown_ && Mark() == *loaded_) return;
  {
    // Both scroll bars always show; setting the text would paint them at once.
    const ui::ScrollBarsPaintedOnChange quiet(Handle());
    SetText(text);
  }
  shown_.assign(text);
  loaded_ = Mark();
}

const wchar_t* PreviewRichEdit::WindowClassName() const { return RichEditClass(); }

void PreviewRichEdit::SetRtf(std::string_view rtf) {
  loaded_.reset();
  RtfSource source{rtf};
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  stream.pfnCallback = ReadRtf;
  // A long document shows a scroll bar, which loading would paint at once.
  const ui::ScrollBarsPaintedOnChange quiet(Handle());
  Send(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}

PreviewViewMark PreviewRichEdit::Mark() const {
  CHARRANGE selection{};
  POINT scroll{};
  SendMessageW(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  SendMessageW(Handle(), EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
  return {selection.cpMin, selection.cpMax, scroll.x, scroll.y};
}

void PreviewRichEdit::ShowRtf(std::string_view rtf) {
  if (!Handle()) return;
  if (loaded_ && rtf == shown_ && Mark() == *loaded_) return;
  SetRtf(rtf);
  shown_.assign(rtf);
  loaded_ = Mark();
}

std::wstring PreviewRichEdit::PlainText() const { return Text(); }

struct PreviewPicture::Image {
  std::unique_ptr<Gdiplus::Bitmap> bitmap;
};

PreviewPicture::PreviewPicture() : image_(std::make_unique<Image>()) {}
PreviewPicture::~PreviewPicture() = default;

void PreviewPicture::Load(const std::wstring& path) {
  Clear();
  if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES || !StartGdiplus()) return;
  auto bitmap = std::make_unique<Gdiplus::Bitmap>(path.c_str());
  if (bitmap->GetLastStatus() == Gdiplus::Ok && bitmap->GetWidth() > 0) image_->bitmap = std::move(bitmap);
}

void PreviewPicture::Clear() { image_->bitmap.reset(); }

bool PreviewPicture::Empty() const { return !image_->bitmap; }

void PreviewPicture::Draw(HDC dc, const RECT& area) const {
  FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
  if (!image_->bitmap) return;
  const double w = image_->bitmap->GetWidth(), h = image_->bitmap->GetHeight();
  const double areaW = area.right - area.left, areaH = area.bottom - area.top;
  const double scale = std::min({areaW / w, areaH / h, 1.0});
  const int drawW = static_cast<int>(w * scale), drawH = static_cast<int>(h * scale);
  Gdiplus::Graphics graphics(dc);
  graphics.DrawImage(image_->bitmap.get(), static_cast<INT>(area.left + (areaW - drawW) / 2),
                     static_cast<INT>(area.top + (areaH - drawH) / 2), drawW, drawH);
}

HBITMAP PreviewPicture::CreateBitmap() const {
  HBITMAP bitmap = nullptr;
  if (!image_->bitmap || image_->bitmap->GetHBITMAP(Gdiplus::Color(255, 255, 255, 255), &bitmap) != Gdiplus::Ok)
    return nullptr;
  return bitmap;
}

}  // namespace snibbet
