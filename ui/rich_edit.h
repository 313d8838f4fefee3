#pragma once
// A rich-text editor over the newest rich-edit control the system has
// (msftedit's RICHEDIT50W, else riched20's RichEdit20W), with the formatting
// calls of a rich-text toolbar. Character formats apply to the selection (at
// an empty selection: to what is typed next); paragraph formats to the
// paragraphs the selection touches. RTF travels as its bytes, plain text as
// UTF-16. Replacing the whole text (SetRtf, SetPlainText) reports no onChange.
#include <windows.h>
#include <richedit.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ui/control.h"

namespace ui {

// The rich-edit version loaded: 4 for msftedit (4.1 and later), 3 or 2 for
// riched20 by its file version, 0 when neither library loads.
int RichEditVersion();

// The version riched20.dll of the given file version stands for: 5.30 and
// later is 3.x, anything before 2.0.
int RichEdit20VersionOf(int fileMajor, int fileMinor);

enum class TextStyle : DWORD { Bold = CFE_BOLD, Italic = CFE_ITALIC, Underline = CFE_UNDERLINE };
enum class ParagraphAlignment { Left, Right, Center, Justify };
enum class VerticalPosition { Normal, Superscript, Subscript };

struct TextRange {
  int start = 0, end = 0;  // end exclusive; start == end: the caret
  bool operator==(const TextRange&) const = default;
};

// Where a character format goes: the selection, or, while nothing is
// selected, the word at the caret (and what is typed next).
enum class FormatScope { Selection, SelectionOrWord };

struct FindOptions {
  bool matchCase = false;
  bool wholeWord = false;
};

struct ColorMember;  // which colour of the character format (rich_edit.cpp)

// The font of text that brings none: what is typed into an empty editor,
// and plain text set as a whole.
struct DefaultFont {
  std::wstring face;
  int pixelHeight = 0;  // at 96 DPI
  BYTE charset = DEFAULT_CHARSET;
};

class RichEdit : public Control {
 public:
  using Control::Control;

  std::function<void()> onChange;           // the user changed the text
  std::function<void()> onSelectionChange;  // the caret or the selection moved
  std::function<void(const std::wstring& link)> onLinkClick;  // left button on a detected link

  // A font of its own instead of the form's.
  void SetDefaultFont(DefaultFont font);

  // Text.
  std::string Rtf() const;
  void SetRtf(std::string_view rtf);   // replaces everything; the modified flag clears
  std::wstring PlainText() const;
  void SetPlainText(std::wstring_view text);  // likewise
  void ReplaceSelection(std::wstring_view text);
  bool Modified() const;
  void SetModified(bool modified);

  // Selection.
  TextRange Selection() const;
  void SetSelection(TextRange range);
  std::wstring SelectedText() const;
  // The word the position lies inside (letters on both sides of it); an
  // empty range at the position when it lies between words.
  TextRange WordAt(int position) const;
  // The next match at or after `from` up to the end; the text is not selected.
  std::optional<TextRange> Find(std::wstring_view text, int from, FindOptions options = {}) const;

  // Character format of the selection (of its start when it is mixed).
  CHARFORMAT2W CharFormat() const;
  COLORREF ColorOf(const ColorMember& member) const;
  void SetColorOf(const ColorMember& member, COLORREF color, FormatScope scope);
  void ApplyCharFormat(const CHARFORMAT2W& format, FormatScope scope = FormatScope::Selection);  // the members its dwMask names
  std::wstring FontName() const;
  void SetFontName(std::wstring_view name, FormatScope scope = FormatScope::Selection);
  int FontSize() const;  // points
  void SetFontSize(int points, FormatScope scope = FormatScope::Selection);
  bool HasStyle(TextStyle style) const;
  void SetStyle(TextStyle style, bool on, FormatScope scope = FormatScope::Selection);
  COLORREF TextColor() const;  // the window-text colour when automatic
  void SetTextColor(COLORREF color, FormatScope scope = FormatScope::Selection);
  COLORREF BackColor() const;  // the window colour when automatic
  bool HasAutoBackColor() const;
  void SetBackColor(COLORREF color, FormatScope scope = FormatScope::Selection);
  void SetAutoBackColor(FormatScope scope = FormatScope::Selection);  // follows the window colour
  VerticalPosition Position() const;
  void SetPosition(VerticalPosition position, FormatScope scope = FormatScope::Selection);

  // Paragraph format.
  ParagraphAlignment Alignment() const;
  void SetAlignment(ParagraphAlignment alignment);
  bool Bullets() const;
  void SetBullets(bool on);
  int LeftIndent() const;  // points, of the whole paragraph
  void SetLeftIndent(int points);

  // Puts the picture on the clipboard (which keeps it) and pastes it at the
  // caret; false when the clipboard cannot be opened.
  bool PastePicture(HBITMAP picture);

 protected:
  const wchar_t* WindowClassName() const override;
  DWORD ControlStyle() const override;
  DWORD ControlExStyle() const override { return WS_EX_CLIENTEDGE; }
  void OnAttached() override;
  bool TakesFormFont() const override { return !defaultFont_; }
  bool OnCommandReflected(WORD code) override;
  bool OnNotifyReflected(NMHDR& header, LRESULT& result) override;

 private:
  PARAFORMAT2 ParagraphFormat() const;
  void ApplyParagraphFormat(const PARAFORMAT2& format);
  void StreamIn(std::string_view data, UINT format);
  std::string StreamOut(UINT format) const;
  std::wstring TextOf(TextRange range) const;
  void ApplyDefaultFont(DWORD scope);

  std::optional<DefaultFont> defaultFont_;

  bool settingText_ = false;  // our own changes: no onChange
  bool movingSelection_ = false;  // our own passing selection: no onSelectionChange
};

}  // namespace ui
