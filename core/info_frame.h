#pragma once
// The information box that several dialogs embed: a rounded area in the
// system's tooltip colour with an information picture (a click on it asks
// for help) and a word-wrapped text beside it.
//
// A child control of its form. In a form built in code it is a member like
// any control; in a DIALOGEX form it is a CONTROL of class "TInfoFrame" with
// the member's id (the class is registered when the member is constructed,
// before the dialog is made). Its window text is the info text, so
// SetControlText(N, frame.Handle()) puts a language text on it.
#include <windows.h>

#include <functional>
#include <string_view>

#include "ui/custom_control.h"

namespace snibbet {

class TInfoFrame : public ui::CustomControl {
 public:
  static constexpr const wchar_t* kClassName = L"TInfoFrame";
  static constexpr int kDesignWidth = 300, kDesignHeight = 49;

  // A width or height of 0 in `design` takes the design size.
  TInfoFrame(ui::Form& owner, ui::ControlDesign design);

  // The click on the picture; by default the active form's help.
  std::function<void()> onInfoClick;

  void SetInfoText(std::wstring_view text) { SetText(text); }
  HWND InfoPicture() const { return picture_; }  // imgInfo
  HWND InfoLabel() const { return label_; }      // lblInfo
  RECT InfoLabelBounds() const;                  // in the frame's client area

 protected:
  const wchar_t* WindowClassName() const override { return kClassName; }
  DWORD ControlStyle() const override { return WS_CLIPCHILDREN; }
  void OnAttached() override;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint();
  void Layout();

  HWND picture_ = nullptr;
  HWND label_ = nullptr;
  HFONT font_ = nullptr;  // the form's; not ours to delete
};

}  // namespace snibbet
