#pragma once
// The settings window's Sounds page: the switch for all event sounds, the
// four events the user can give a sound (typing a character, Backspace or
// Delete, another key, a hotkey's action), the sound of the chosen event as a
// name from the program's Sound\ folder or any file, and a button to try it.
// Every change by the user goes to the settings object at once (the running
// program hears it) and tells the host; changes made while the host fills
// its controls do nothing.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "dialogs/settings_page_host.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/file_dialog.h"
#include "ui/handles.h"
#include "ui/image_list.h"
#include "ui/label.h"
#include "ui/tree_view.h"

namespace ui {
class Form;
}

namespace snibbet {

class TPreset;

class SoundsPage {
 public:
  // Picture of the shared list (the data module's) beside an event that has a sound.
  static constexpr int kHasSoundPicture = 50;

  // The controls become members of `form` (create the page before the form's
  // Create()); they show and change `preset`. `eventPictures` is the list the
  // event tree draws from (not owned; null: the tree shows no pictures).
  SoundsPage(ui::Form& form, SettingsPageHost& host, TPreset& preset, const ui::ImageList* eventPictures = nullptr);
  SoundsPage(const SoundsPage&) = delete;
  SoundsPage& operator=(const SoundsPage&) = delete;

  // The page's controls, for the page control's AddToPage.
  std::vector<ui::Control*> Controls();
  // Places the controls in `pageArea` (the form's client coordinates).
  void Layout(const RECT& pageArea);
  // The controls from the settings object; the form calls it while its
  // Loading() holds, after the window exists.
  void Fill();
  // Texts, the sound list from the Sound folder and the event tree again
  // (its first event chosen); on creation and on every language change.
  void ApplyLanguage();

  // The button's click without the dialog: what the dialog is opened with
  // (its start folder stays for later clicks), and the file the user chose.
  ui::FileDialogOptions SoundFileDialogOptions();
  void TakeChosenSoundFile(const std::wstring& path);

  ui::CheckBox chkSoundEnabled;
  ui::Label lblEvents;
  ui::TreeView tvSounds;
  ui::Label lblSound;
  ui::ComboBox cbSound;
  ui::Button btnPlaySound;
  ui::Button btnSoundFile;

 private:
  void FillSoundList();
  void AddSoundEventNode(int slot, const std::wstring& caption);
  void ShowSelectedEvent();
  // The live edit of the sound field; `noSound`: the list's first item chosen.
  void SoundEntryChanged(const std::wstring& text, bool noSound);
  void PlaySelectedSound();
  void ChooseSoundFile();
  std::optional<int> SelectedSlot() const;

  ui::Form& form_;
  SettingsPageHost& host_;
  TPreset& preset_;
  const ui::ImageList* eventPictures_;
  ui::IconHandle playPicture_;
  std::wstring dialogFolder_;
};

// The sound list's names from the Sound folder's ".wav" file names in the
// order the folder lists them: those beginning with "Type" (that case) first,
// each without its last four characters.
std::vector<std::wstring> SoundListNames(const std::vector<std::wstring>& fileNames);

// The entry a file chosen in the dialog becomes: its name in the Sound folder
// when the list holds that name (any case), else the full file name.
std::wstring SoundEntryForChosenFile(const std::wstring& path, const std::wstring& soundFolder,
                                     const std::vector<std::wstring>& listNames);

}  // namespace snibbet
