#pragma once
// The template editor's rich-text toolbar: two rows of formatting commands
// over the editor's rich edit (font, size, styles, alignment, colours,
// bullets, indents, super- and subscript, pictures, objects, search), with
// the font-name list, the size box and the colour list laid over the toolbar.
//
// The commands work on the current attributes: those of the selection when
// text is selected, else those of the word at the caret.
//
// How the owning form uses it:
//   - constructs it as a member after the rich edit, with the form and the
//     rich edit it works on (RtfToolbarOptions: the menu look and the rest);
//   - lists Controls() on the rich-text page (ui::TabPages::AddToPage);
//   - calls Layout(band) from its layout code; the band's height is not
//     used, the toolbar takes what its rows need and returns it;
//   - calls Refresh() once its window exists (OnCreate), and
//     ApplyLanguage() from its own ApplyLanguage.
// The toolbar takes the rich edit's onSelectionChange (it refreshes itself
// on every selection change) and onLinkClick; the form must not set them.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/color_combo.h"
#include "ui/edit.h"
#include "ui/find_dialog.h"
#include "ui/font_name_combo.h"
#include "ui/image_list.h"
#include "ui/menu.h"
#include "ui/rich_edit.h"
#include "ui/tool_bar.h"
#include "ui/tool_tips.h"
#include "visual/menu_item_looks.h"

namespace ui {
class Form;
}

namespace snibbet {

// What the toolbar asks of the system; tests hand in their own.
class RtfToolbarSystem {
 public:
  virtual ~RtfToolbarSystem() = default;
  // Opens a web or mail address with the shell's default verb.
  virtual void OpenLink(const std::wstring& address) = 0;
  // An information box.
  virtual void ShowInformation(const std::wstring& text) = 0;
};

// The shell and the program's message boxes.
RtfToolbarSystem& ShellRtfToolbarSystem();

struct RtfToolbarOptions {
  MenuLook menuLook = MenuLook::Standard;  // of the background-colour menu
  int richEditVersion = ui::RichEditVersion();
  std::wstring pictureFilter{};  // of the picture dialog; empty: every format GDI+ reads
  RtfToolbarSystem* system = nullptr;  // null: ShellRtfToolbarSystem()
};


// The colour of the "Automatic" background: the window colour, as a system colour.
inline constexpr COLORREF kAutomaticBackground = 0xFF000000 | COLOR_WINDOW;

class RtfToolbar {
  ui::ImageList pictures_;  // first: the toolbar shows them until its window is gone

 public:
  RtfToolbar(ui::Form& owner, ui::RichEdit& editor, RtfToolbarOptions options = {});
  ~RtfToolbar();
  RtfToolbar(const RtfToolbar&) = delete;
  RtfToolbar& operator=(const RtfToolbar&) = delete;

  // Lays the toolbar at the top of `band` across its width; returns its height.
  int Layout(const RECT& band);
  // Shows the current attributes on the buttons and boxes.
  void Refresh();
  void ApplyLanguage();
  std::vector<ui::Control*> Controls();
  // While the toolbar sets its own controls (their handlers do nothing).
  bool Updating() const { return updating_; }

  // The check mark of the background menu at the current background colour
  // (what opening the menu does).
  void CheckCurrentBackground();
  // One "Find next" of the find dialog.
  void FindNext(const ui::FindRequest& request);
  // A left click on a link of the editor.
  void LinkClick(const std::wstring& address);

  // A command changed the document's look: the rich edit reports no change
  // for formatting, so the owner must take the document again.
  std::function<void()> onFormatChange;

  ui::ToolBar tbrRtf;
  ui::FontNameComboBox cbFontName;
  ui::Edit edtFontSize;
  ui::ColorComboBox cbFontColor;
  ui::PopupMenu BackgroundMenu;

 private:
  class UpdatingScope;

  void AddButtons();
  void FillBackgroundMenu();
  void Formatted();

  void tbFontClick();
  void cbFontNameChange();
  void edtFontSizeChange();
  void StyleClick(std::wstring_view button, ui::TextStyle style);
  void AlignClick(int tag);
  void cbFontColorChange();
  void BackgroundClick(ui::MenuItem& item);
  void tbBulletsClick();
  void IndentClick(int byPoints);
  void PositionClick(std::wstring_view clicked, std::wstring_view other, ui::VerticalPosition position,
                     ui::VerticalPosition otherPosition);
  void tbInsertPictureClick();
  void tbInsertObjectClick();
  void tbFindTextClick();

  ui::Form& owner_;
  ui::RichEdit& editor_;
  RtfToolbarOptions options_;
  RtfToolbarSystem& system_;
  ui::ToolTips hints_;
  ui::FindDialog findDialog_;
  bool updating_ = false;
};

}  // namespace snibbet
