#include "dialogs/sounds_page.h"

#include <commctrl.h>

#include <array>

#include "core/app_ini.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "core/product_name.h"
#include "core/sounds.h"
#include "core/text_utils.h"
#include "ui/form.h"
#include "ui/gdi.h"
#include "ui/monitor.h"

namespace snibbet {
namespace {

// The events the page offers, in tree order, with their captions.
struct SoundEvent {
  int slot;
  int caption;
};
constexpr std::array<SoundEvent, 4> kSoundEvents{{
    {kSoundCharTyped, LangId(570)},
    {kSoundEraseTyped, LangId(581)},
    {kSoundOtherTyped, LangId(571)},
    {kSoundActionStarts, LangId(572)},
}};

constexpr int kMargin = 8;
constexpr int kGap = 6;
constexpr int kPlayButtonSize = 23;
constexpr int kFileButtonWidth = 90;
constexpr int kDroppedDownLines = 20;
constexpr int kComboLineHeight = 14;

std::wstring Upper(std::wstring text) {
  if (!text.empty()) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// A green "play" triangle; drawn, so the button needs no resource of the program.
ui::IconHandle MakePlayPicture() {
  constexpr int kSize = 16;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kSize;
  info.bmiHeader.biHeight = -kSize;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  ui::GdiObject<HBITMAP> color(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!color || !bits) return {};
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      // Tip at (12, 7.5), base from (5, 3) to (5, 12).
      const double halfHeight = (12 - x) * 4.5 / 7;
      const bool inside = x >= 5 && x <= 12 && (y + 0.5 - 8) <= halfHeight && (8 - y - 0.5) <= halfHeight;
      pixels[y * kSize + x] = inside ? 0xFF1E8C32u : 0u;  // opaque green, else transparent
    }
  }
  const std::array<BYTE, kSize * kSize / 8> maskBits{};
  ui::GdiObject<HBITMAP> mask(CreateBitmap(kSize, kSize, 1, 1, maskBits.data()));
  ICONINFO icon{TRUE, 0, 0, mask.Get(), color.Get()};
  return ui::IconHandle(CreateIconIndirect(&icon));
}

// The folder part of a file name: up to and including its last "\" or ":".
std::wstring FolderPart(const std::wstring& fileName) {
  const size_t end = fileName.find_last_of(L"\\:");
  return end == std::wstring::npos ? std::wstring() : fileName.substr(0, end + 1);
}

}  // namespace

std::vector<std::wstring> SoundListNames(const std::vector<std::wstring>& fileNames) {
  std::vector<std::wstring> names;
  // Typing sounds first: they are the ones most events take.
  for (const bool typingPass : {true, false}) {
    for (const std::wstring& file : fileNames) {
      if ((file.rfind(L"Type", 0) == 0) != typingPass) continue;
      names.push_back(file.substr(0, file.size() >= 4 ? file.size() - 4 : 0));
    }
  }
  return names;
}

std::wstring SoundEntryForChosenFile(const std::wstring& path, const std::wstring& soundFolder,
                                     const std::vector<std::wstring>& listNames) {
  std::wstring name = path;
  if (!soundFolder.empty()) {
    if (const size_t at = Upper(name).find(Upper(soundFolder)); at != std::wstring::npos) {
      name.erase(at, soundFolder.size());
    }
  }
  name = name.substr(0, name.find(L'.'));
  const std::wstring wanted = Upper(name);
  for (const std::wstring& item : listNames) {
    if (Upper(item) == wanted) return name;
  }
  return path;
}

SoundsPage::SoundsPage(ui::Form& form, SettingsPageHost& host, TPreset& preset, const ui::ImageList* eventPictures)
    : chkSoundEnabled(form, {.name = L"chkSoundEnabled", .width = 300, .height = 17}),
      lblEvents(form, {.name = L"lblEvents", .width = 300, .height = 15}),
      tvSounds(form, {.name = L"tvSounds",
                      .width = 300,
                      .height = 96,
                      .style = TVS_TRACKSELECT | TVS_SINGLEEXPAND,
                      .exStyle = WS_EX_CLIENTEDGE}),
      lblSound(form, {.name = L"lblSound", .width = 300, .height = 15}),
      cbSound(form, {.name = L"cbSound",
                     .width = 200,
                     .height = 23 + kDroppedDownLines * kComboLineHeight,
                     .style = CBS_DROPDOWN | CBS_AUTOHSCROLL}),
      btnPlaySound(form, {.name = L"btnPlaySound", .width = kPlayButtonSize, .height = kPlayButtonSize,
                          .style = BS_ICON}),
      btnSoundFile(form, {.name = L"btnSoundFile", .width = kFileButtonWidth, .height = kPlayButtonSize}),
      form_(form),
      host_(host),
      preset_(preset),
      eventPictures_(eventPictures) {
  tvSounds.rightClickSelects = true;
  chkSoundEnabled.onClick = [this] {
    if (host_.Loading()) return;
    preset_.SetSoundEnabled(chkSoundEnabled.Checked());
    host_.OptionsChanged();
  };
  tvSounds.onChange = [this](ui::TreeView::Node) { ShowSelectedEvent(); };
  cbSound.onChange = [this] {
    const int index = cbSound.ItemIndex();
    // The field still shows the old text while the list tells of the new choice.
    SoundEntryChanged(index >= 0 ? cbSound.ItemText(index) : cbSound.Text(), index == 0);
  };
  cbSound.onEdit = [this] { SoundEntryChanged(cbSound.Text(), false); };
  btnPlaySound.onClick = [this] { PlaySelectedSound(); };
  btnSoundFile.onClick = [this] { ChooseSoundFile(); };
}

std::vector<ui::Control*> SoundsPage::Controls() {
  return {&chkSoundEnabled, &lblEvents, &tvSounds, &lblSound, &cbSound, &btnPlaySound, &btnSoundFile};
}

void SoundsPage::Layout(const RECT& pageArea) {
  const int margin = ui::ScaleToDpi(kMargin), gap = ui::ScaleToDpi(kGap);
  const int left = pageArea.left + margin;
  const int width = pageArea.right - pageArea.left - 2 * margin;
  int top = pageArea.top + margin;
  chkSoundEnabled.SetBounds(left, top, width, ui::ScaleToDpi(17));
  top += ui::ScaleToDpi(26);
  lblEvents.SetBounds(left, top, width, ui::ScaleToDpi(15));
  top += ui::ScaleToDpi(18);
  tvSounds.SetBounds(left, top, width, ui::ScaleToDpi(96));
  top += ui::ScaleToDpi(96 + 10);
  lblSound.SetBounds(left, top, width, ui::ScaleToDpi(15));
  top += ui::ScaleToDpi(18);
  const int buttonSize = ui::ScaleToDpi(kPlayButtonSize), fileWidth = ui::ScaleToDpi(kFileButtonWidth);
  const int comboWidth = width - buttonSize - fileWidth - 2 * gap;
  cbSound.SetBounds(left, top, comboWidth, ui::ScaleToDpi(23 + kDroppedDownLines * kComboLineHeight));
  // The buttons line up with the field's closed height.
  const int fieldHeight = static_cast<int>(cbSound.Send(CB_GETITEMHEIGHT, static_cast<WPARAM>(-1))) + 6;
  const int buttonTop = top + (fieldHeight - buttonSize) / 2;
  btnPlaySound.SetBounds(left + comboWidth + gap, buttonTop, buttonSize, buttonSize);
  btnSoundFile.SetBounds(left + comboWidth + gap + buttonSize + gap, buttonTop, fileWidth, buttonSize);
}

void SoundsPage::Fill() {
  chkSoundEnabled.SetChecked(preset_.SoundEnabled());
  // Reset and revert bring other entries: the pictures and the field follow.
  for (ui::TreeView::Node node = tvSounds.FirstNode(); node; node = tvSounds.NextSibling(node)) {
    const int picture = preset_.GetSound(static_cast<int>(tvSounds.NodeData(node))).empty() ? -1 : kHasSoundPicture;
    tvSounds.SetNodeImages(node, picture, picture);
  }
  ShowSelectedEvent();
}

void SoundsPage::ApplyLanguage() {
  chkSoundEnabled.SetText(LangText(567));
  lblEvents.SetText(LangText(576));
  lblSound.SetText(LangText(566));
  btnSoundFile.SetText(LangText(577));
  if (!playPicture_) playPicture_ = MakePlayPicture();
  btnPlaySound.Send(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(playPicture_.Get()));
  tvSounds.SetImages(eventPictures_);
  tvSounds.SetIndent(19);

  FillSoundList();
  tvSounds.Clear();
  for (const SoundEvent& event : kSoundEvents) {
    const std::wstring caption = LangText(event.caption);
    AddSoundEventNode(event.slot, event.slot == kSoundActionStarts ? FormatText(caption, {kProductName}) : caption);
  }
  tvSounds.Select(tvSounds.FirstNode());
}

void SoundsPage::FillSoundList() {
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW found{};
  ui::FindHandle search(FindFirstFileW((GetSoundFolder() + L"*.wav").c_str(), &found));
  if (search) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.emplace_back(found.cFileName);
    } while (FindNextFileW(search.Get(), &found));
  }
  cbSound.Send(WM_SETREDRAW, FALSE);
  cbSound.Clear();
  cbSound.AddItem(LangText(6));
  for (const std::wstring& name : SoundListNames(files)) cbSound.AddItem(name);
  cbSound.Send(WM_SETREDRAW, TRUE);
  cbSound.Invalidate();
}

void SoundsPage::AddSoundEventNode(int slot, const std::wstring& caption) {
  const int picture = preset_.GetSound(slot).empty() ? -1 : kHasSoundPicture;
  tvSounds.AddNode(nullptr, caption, picture, picture, slot);
}

std::optional<int> SoundsPage::SelectedSlot() const {
  const ui::TreeView::Node node = tvSounds.Selected();
  if (!node) return std::nullopt;
  return static_cast<int>(tvSounds.NodeData(node));
}

// Also while the host fills: only the field and the button follow the choice.
void SoundsPage::ShowSelectedEvent() {
  const std::optional<int> slot = SelectedSlot();
  if (!slot) return;
  const std::wstring entry = preset_.GetSound(*slot);
  cbSound.SetText(entry.empty() ? cbSound.ItemText(0) : entry);
  btnPlaySound.SetEnabled(!preset_.GetSoundFile(*slot).empty());
}

void SoundsPage::SoundEntryChanged(const std::wstring& text, bool noSound) {
  if (host_.Loading()) return;
  const ui::TreeView::Node node = tvSounds.Selected();
  const std::optional<int> slot = SelectedSlot();
  if (!slot) return;
  int picture = -1;
  if (noSound || text.empty()) {
    preset_.SetSound(*slot, L"");
  } else {
    // Typing stores each keystroke's text and plays it whenever it names a file.
    preset_.SetSound(*slot, text);
    picture = kHasSoundPicture;
    PlaySelectedSound();
  }
  btnPlaySound.SetEnabled(!preset_.GetSoundFile(*slot).empty());
  tvSounds.SetNodeImages(node, picture, picture);
  tvSounds.Invalidate();
  host_.OptionsChanged();
}

// Forced: the user tries the sound even while sounds are off.
void SoundsPage::PlaySelectedSound() {
  if (const std::optional<int> slot = SelectedSlot()) preset_.PlaySound(*slot, true);
}

ui::FileDialogOptions SoundsPage::SoundFileDialogOptions() {
  const std::wstring text = cbSound.Text();
  if (text.find(L'\\') != std::wstring::npos) dialogFolder_ = FolderPart(text);
  if (dialogFolder_.empty()) dialogFolder_ = GetSoundFolder();
  ui::FileDialogOptions options;
  options.initialFolder = dialogFolder_;
  options.title = FormatText(LangText(578), {tvSounds.NodeText(tvSounds.Selected())});
  options.filter = LangText(579) + L"|*.wav";
  return options;
}

void SoundsPage::TakeChosenSoundFile(const std::wstring& path) {
  std::vector<std::wstring> items;
  for (int i = 0; i < cbSound.Count(); ++i) items.push_back(cbSound.ItemText(i));
  const std::wstring entry = SoundEntryForChosenFile(path, GetSoundFolder(), items);
  cbSound.SetText(entry);
  SoundEntryChanged(entry, false);
}

void SoundsPage::ChooseSoundFile() {
  if (!SelectedSlot()) return;
  if (auto chosen = ui::ShowOpenFileDialog(SoundFileDialogOptions(), form_.Handle())) TakeChosenSoundFile(chosen->path);
}

}  // namespace snibbet
