#include "templates/popup_preview.h"

#include <richedit.h>

#include <algorithm>

#include "ui/scroll_bar_paint.h"
#include "visual/picture.h"

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

void PreviewMemo::OnAttached() {
  loaded_.reset();  // a new window shows nothing yet
  frame_.Attach(Handle());
}

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

PreviewPicture::PreviewPicture() = default;
PreviewPicture::~PreviewPicture() = default;

void PreviewPicture::Load(const std::wstring& path) {
  Clear();
  if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  try {
    picture_ = ProgramPictureFormats().LoadFromFile(path);
  } catch (const PictureLoadError&) {
    // An unknown or damaged picture shows as none.
  }
}

void PreviewPicture::Clear() { picture_.reset(); }

bool PreviewPicture::Empty() const { return !picture_; }

void PreviewPicture::Draw(HDC dc, const RECT& area) const {
  FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
  if (!picture_ || picture_->Width() <= 0 || picture_->Height() <= 0) return;
  const double w = picture_->Width(), h = picture_->Height();
  const double areaW = area.right - area.left, areaH = area.bottom - area.top;
  const double scale = std::min({areaW / w, areaH / h, 1.0});
  const int drawW = static_cast<int>(w * scale), drawH = static_cast<int>(h * scale);
  const int left = static_cast<int>(area.left + (areaW - drawW) / 2);
  const int top = static_cast<int>(area.top + (areaH - drawH) / 2);
  picture_->Draw(dc, RECT{left, top, left + drawW, top + drawH});
}

HBITMAP PreviewPicture::CreateBitmap() const { return picture_ ? picture_->CreateBitmap(RGB(255, 255, 255)) : nullptr; }

}  // namespace snibbet
