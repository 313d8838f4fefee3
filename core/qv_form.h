#pragma once
// The base of the program's windows. A form of ours takes the character set
// of the user-interface language for its font, re-reads its texts when the
// language changes (ApplyLanguageEverywhere reaches every open one) and shows
// the program's busy cursor.
//
// A window's own ApplyLanguage calls the base's first, then sets its captions
// from language texts:
//   void ApplyLanguage() override { TQvForm::ApplyLanguage(); btnOk.SetText(LangText(101)); }
#include <windows.h>

#include "ui/dialog_form.h"
#include "ui/form.h"

namespace snibbet {

// The font character set for a `Language` setting: Chinese Big5 for 1028
// and 4, Shift-JIS for 1041 and 17, GB2312 for 2052, else the default set.
BYTE FontCharsetForLanguage(int language);

// Gives the form's font (and so its controls') the character set of the
// `Language` setting the language table holds texts for. Nothing while the
// table names none, or when the font has that set already.
void ApplyLanguageCharset(ui::Form& form);

// Redraws a window with all its child windows at once.
void RepaintNow(HWND window);

// Answers WM_SETCURSOR with the program's screen cursor (the hourglass while
// busy); false when there is none and the window's own cursor applies.
bool SetScreenCursor();

// Marks the forms of this program among all open forms, and carries the
// help topic (context number) that help for the form opens; 0: none.
class QvFormMark {
 public:
  virtual ~QvFormMark() = default;
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int context) { helpContext_ = context; }

 private:
  int helpContext_ = 0;
};

template <class Base>
class QvForm : public Base, public QvFormMark {
 public:
  using Base::Base;
  void ApplyLanguage() override { ApplyLanguageCharset(*this); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SETCURSOR && SetScreenCursor()) return TRUE;
    return Base::HandleMessage(message, wParam, lParam);
  }
};

using TQvForm = QvForm<ui::Form>;              // a form built in code
using TQvDialogForm = QvForm<ui::DialogForm>;  // a form from a DIALOGEX template

inline bool IsQvForm(const ui::Form& form) { return dynamic_cast<const QvFormMark*>(&form) != nullptr; }

}  // namespace snibbet
