#pragma once
// What the binding files, pictures and listing ask of the rest of the program
// on Windows: the error box, the busy cursor, the documents folder, the
// product version, the web addresses, the shell and the binding pictures.
// ProgramBindingShell answers for the program; tests hand in their own.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "keyboard/action_kinds.h"
#include "ui/image_list.h"

namespace snibbet {

class TPreset;

class BindingShell {
 public:
  virtual ~BindingShell() = default;
  virtual void ShowError(const std::wstring& text) = 0;
  virtual void BusyBegin() = 0;
  virtual void BusyEnd() = 0;
  virtual std::wstring DocumentsFolder() = 0;  // ends in "\"
  virtual std::wstring ProductVersion() = 0;
  virtual std::wstring LocalizeWebAddress(const std::wstring& address) = 0;
  virtual void OpenDocument(const std::wstring& file) = 0;  // with the shell

  // Pictures: the binding kinds (`ilQvActions`), a kind's own strip, the
  // keys (`ilKeys`) with the index of a key's picture, and the keyboard
  // view's font; null (or -1) for none.
  virtual HIMAGELIST ActionImages() = 0;
  virtual HIMAGELIST KindImages(ActionPictures pictures) = 0;
  virtual HIMAGELIST KeyImages() = 0;
  virtual int KeyPictureIndex(int vk) = 0;
  virtual HFONT KeyboardFont() = 0;
};

class ProgramBindingShell : public BindingShell {
 public:
  void ShowError(const std::wstring& text) override;
  void BusyBegin() override;
  void BusyEnd() override;
  std::wstring DocumentsFolder() override;
  std::wstring ProductVersion() override;
  // In the language of the settings.
  std::wstring LocalizeWebAddress(const std::wstring& address) override;
  void OpenDocument(const std::wstring& file) override;
  // The program keeps no pictures of binding kinds; the key pictures are the
  // data module's while it is connected.
  HIMAGELIST ActionImages() override { return nullptr; }
  HIMAGELIST KindImages(ActionPictures) override { return nullptr; }
  HIMAGELIST KeyImages() override { return keyPictures_ && keyPictures_->Count() > 0 ? keyPictures_->Get() : nullptr; }
  int KeyPictureIndex(int vk) override;
  HFONT KeyboardFont() override { return nullptr; }

  // The key pictures (null: none); the list outlives the connection.
  void SetKeyPictures(const ui::ImageList* pictures) { keyPictures_ = pictures; }
  // The settings whose language the web addresses take (null: as written);
  // they outlive the connection.
  void SetSettings(const TPreset* settings) { settings_ = settings; }

 private:
  const ui::ImageList* keyPictures_ = nullptr;
  const TPreset* settings_ = nullptr;
};

// The program's shell; it holds only the key pictures and settings handed to it.
ProgramBindingShell& ProgramShell();

// Shows the busy cursor for the life of the guard.
class BusyCursorGuard {
 public:
  explicit BusyCursorGuard(BindingShell& shell) : shell_(shell) { shell_.BusyBegin(); }
  ~BusyCursorGuard() { shell_.BusyEnd(); }
  BusyCursorGuard(const BusyCursorGuard&) = delete;
  BusyCursorGuard& operator=(const BusyCursorGuard&) = delete;

 private:
  BindingShell& shell_;
};

}  // namespace snibbet
