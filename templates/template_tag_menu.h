#pragma once
// The template-tag menu pmTemplates: ready-made template tags that the
// template editor and the settings window pop up. A click puts the tag on the
// clipboard and, when the editor is the active form, pastes it into the
// editor's text. The captions of the date and time items carry a sample of
// the present date or time, renewed by ApplyLanguage.
#include <windows.h>

#include "ui/menu.h"

namespace snibbet {

// What the menu needs of the template editor.
class TagPasteTarget {
 public:
  virtual ~TagPasteTarget() = default;
  // The editor's text control (memoTemplate); null while the editor is not open.
  virtual HWND EditorMemo() const = 0;
  // Whether the editor is the screen's active form.
  virtual bool EditorIsActiveForm() const = 0;
};

class TemplateTagMenu {
 public:
  explicit TemplateTagMenu(const TagPasteTarget& target);
  TemplateTagMenu(const TemplateTagMenu&) = delete;
  TemplateTagMenu& operator=(const TemplateTagMenu&) = delete;

  ui::PopupMenu& Menu() { return pmTemplates_; }

  // The group captions from the language table and a fresh sample in each
  // date and time caption; its owner calls it on every language change.
  void ApplyLanguage();

  // The click of the item with `tag`: its text, with the system formats of
  // this moment, replaces the clipboard; only when that worked and the editor
  // is the active form, WM_PASTE goes to the editor's text control.
  void pmiTemplateClick(int tag);

 private:
  void Build();

  const TagPasteTarget& target_;
  ui::PopupMenu pmTemplates_;
};

}  // namespace snibbet
