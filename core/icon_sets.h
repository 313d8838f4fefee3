#pragma once
// Icon sets: for the keys of one application (or of the desktop, or of
// Windows itself) a 16 x 16 picture and a hint per modifier set, which the
// keyboard view draws on its keys. Read from <program folder>\Icons\*.zqi,
// never written: the headers of all of them at start, a set's entries and
// pictures when it is first asked for in full. GUI thread only.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/control_set.h"
#include "core/icon_set_file.h"
#include "ui/handles.h"
#include "ui/image_list.h"

namespace snibbet {

// <program folder>\Icons\ (ending in "\").
std::wstring GetIconsFolder();

// Shows the message of a damaged file (an error box in the program).
using IconSetErrorSink = std::function<void(std::wstring_view message)>;

class TQvIcons {
 public:
  // `folder` ends in "\"; empty: GetIconsFolder(). `showError` empty: an error box.
  explicit TQvIcons(std::wstring folder = {}, IconSetErrorSink showError = {});
  TQvIcons(const TQvIcons&) = delete;
  TQvIcons& operator=(const TQvIcons&) = delete;

  // Reads the set `name` (the file name without ".zqi"): the header, or with
  // `full` also the entries and pictures. Nothing is read when it is loaded
  // already or an earlier read failed, unless `force`. False for a missing
  // file (no message) and for a damaged one (language text 7 shown once).
  bool LoadFromFile(const std::wstring& name, bool full, bool force);

  const std::wstring& Name() const { return name_; }
  std::wstring GetFileName() const;  // <Icons folder><name>.zqi
  bool Loaded() const { return loaded_; }
  bool Failed() const { return failed_; }
  const std::wstring& Executable() const { return executable_; }
  const std::wstring& WindowClass() const { return windowClass_; }
  const std::wstring& Note() const { return note_; }
  HICON Icon() const { return icon_.Get(); }
  const std::vector<IconEntry>& Entries() const { return entries_; }
  const ui::ImageList& Images() const { return images_; }
  const IconEntryIndex& Index() const { return index_; }

  // The picture of the Kind's entry for `set` or `sideLessSet` at (x, y);
  // false when there is none.
  bool DrawEntry(HDC dc, int kind, int x, int y, ControlSet sideLessSet, ControlSet set) const;
  // The marks of the Kind's Ctrl, Ctrl+Shift, Alt and Alt+Shift shortcuts;
  // false when none is drawn.
  bool DrawHotkeySquares(HDC dc, int kind, int x, int y) const;
  // The hint of the Kind's entry for `set` or `sideLessSet`, its picture
  // copied into `picture` (16 x 16, may be null). None: an empty text, the
  // picture filled grey, false.
  bool GetEntry(int kind, ControlSet set, HBITMAP picture, ControlSet sideLessSet, std::wstring& text) const;
  // Removes the Kind's entry of exactly this Id and its picture.
  void DeleteEntry(int kind, std::uint16_t id);
  void Clear();
  void BuildIndex();

 private:
  bool Fail(const std::wstring& path);
  bool LoadPictures(const IconSetFile& file);

  std::wstring folder_;
  IconSetErrorSink showError_;
  std::wstring name_;
  std::vector<IconEntry> entries_;
  ui::ImageList images_;
  IconEntryIndex index_;
  bool loaded_ = false;
  bool failed_ = false;
  std::wstring executable_, windowClass_, note_;
  ui::IconHandle icon_;
};

// All sets of the Icons folder; it owns them, callers keep references.
class TQvIconsList {
 public:
  explicit TQvIconsList(std::wstring folder = {}, IconSetErrorSink showError = {});
  TQvIconsList(const TQvIconsList&) = delete;
  TQvIconsList& operator=(const TQvIconsList&) = delete;

  // Forgets every set, then reads the header of each *.zqi of the folder.
  void LoadAll();
  // The set of exactly this name (case-sensitive), loaded in full when asked.
  TQvIcons* FindByName(const std::wstring& name, bool full);
  // The first set that belongs to the application (IconSetBelongsTo), loaded in full.
  TQvIcons* FindByApplication(const std::wstring& executable, const std::wstring& windowClass);
  std::size_t Count() const { return sets_.size(); }
  TQvIcons& At(std::size_t position) const { return *sets_[position]; }

 private:
  std::wstring folder_;
  IconSetErrorSink showError_;
  std::vector<std::unique_ptr<TQvIcons>> sets_;
};

// The sets of the running Windows version ("WinXP", "DesktopVista", ...).
std::wstring RunningWindowsIconSetName();
std::wstring RunningDesktopIconSetName();

}  // namespace snibbet
