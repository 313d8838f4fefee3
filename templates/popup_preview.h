#pragma once
// The pop-up's preview views: plain text, rich text and a picture file.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "ui/edit.h"
#include "ui/paint_box.h"

namespace snibbet {

// A read-only text view without a border.
class PreviewMemo : public ui::Edit {
 public:
  using ui::Edit::Edit;

 protected:
  DWORD ControlStyle() const override {
    return ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL;
  }
  DWORD ControlExStyle() const override { return 0; }
};

// A read-only RichEdit that shows an RTF document.
class PreviewRichEdit : public ui::Control {
 public:
  using ui::Control::Control;
  void SetRtf(std::string_view rtf);
  std::wstring PlainText() const;

 protected:
  const wchar_t* WindowClassName() const override;
  DWORD ControlStyle() const override {
    return ES_MULTILINE | ES_READONLY | ES_NOHIDESEL | WS_VSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN;
  }
};

// A picture loaded through GDI+, drawn centred and scaled proportionally.
class PreviewPicture {
 public:
  PreviewPicture();
  ~PreviewPicture();
  PreviewPicture(const PreviewPicture&) = delete;
  PreviewPicture& operator=(const PreviewPicture&) = delete;

  // A missing or unreadable file leaves the picture empty.
  void Load(const std::wstring& path);
  void Clear();
  bool Empty() const;
  void Draw(HDC dc, const RECT& area) const;
  // A copy as a GDI bitmap on white, owned by the caller; null when empty.
  HBITMAP CreateBitmap() const;

 private:
  struct Image;
  std::unique_ptr<Image> image_;
};

}  // namespace snibbet
