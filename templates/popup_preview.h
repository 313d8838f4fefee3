#pragma once
// The pop-up's preview views: plain text, rich text and a picture file.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ui/edit.h"
#include "ui/paint_box.h"
#include "ui/paint_copy.h"

namespace snibbet {

// Where a preview view stands: its selection and scroll position. A view that
// still stands where a load left it shows what the same load would show.
struct PreviewViewMark {
  long selectionStart = 0, selectionEnd = 0;
  long x = 0, y = 0;
  bool operator==(const PreviewViewMark&) const = default;
};

// A read-only text view without a border.
class PreviewMemo : public ui::Edit {
 public:
  using ui::Edit::Edit;
  // Shows the text from its start. The text already shown, still standing
  // as it was loaded, is left alone: reloading it would only repaint.
  void ShowText(std::wstring_view text);

 protected:
  DWORD ControlStyle() const override {
    return ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL;
  }
  DWORD ControlExStyle() const override { return 0; }
  void OnAttached() override;

 private:
  PreviewViewMark Mark() const;
  // Its bars are disabled for any text that fits, and each showing of the
  // pop-up would draw them again.
  ui::StillFrameCopy frame_;
  std::wstring shown_;
  std::optional<PreviewViewMark> loaded_;
};

// A read-only RichEdit that shows an RTF document.
class PreviewRichEdit : public ui::Control {
 public:
  using ui::Control::Control;
  void SetRtf(std::string_view rtf);
  // SetRtf, left out for the document already shown and still standing as loaded.
  void ShowRtf(std::string_view rtf);
  std::wstring PlainText() const;

 protected:
  const wchar_t* WindowClassName() const override;
  DWORD ControlStyle() const override {
    return ES_MULTILINE | ES_READONLY | ES_NOHIDESEL | WS_VSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN;
  }
  void OnAttached() override { loaded_.reset(); }

 private:
  PreviewViewMark Mark() const;
  std::string shown_;
  std::optional<PreviewViewMark> loaded_;
};

class Picture;

// A picture loaded by its file's extension, drawn centred and scaled
// proportionally.
class PreviewPicture {
 public:
  PreviewPicture();
  ~PreviewPicture();
  PreviewPicture(const PreviewPicture&) = delete;
  PreviewPicture& operator=(const PreviewPicture&) = delete;

  // A missing, unreadable or unknown file leaves the picture empty.
  void Load(const std::wstring& path);
  void Clear();
  bool Empty() const;
  void Draw(HDC dc, const RECT& area) const;
  // A copy as a GDI bitmap on white, owned by the caller; null when empty.
  HBITMAP CreateBitmap() const;

 private:
  std::unique_ptr<Picture> picture_;
};

}  // namespace snibbet
