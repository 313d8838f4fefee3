#pragma once
// The settings store: one registry key of the current user, kept open for the
// whole process, plus the folders where the program finds its files and keeps
// its user data. Also saves and restores window placement under that key.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "core/product_name.h"

namespace snibbet {

// A registry operation on the settings key failed.
class RegistryError : public std::runtime_error {
 public:
  RegistryError(const std::wstring& valueName, const std::string& message);
  const std::wstring& ValueName() const { return valueName_; }

 private:
  std::wstring valueName_;
};

// A value exists but holds another registry type than the one asked for.
class RegistryTypeError : public RegistryError {
 public:
  RegistryTypeError(const std::wstring& valueName, DWORD actualType);
  DWORD ActualType() const { return actualType_; }

 private:
  DWORD actualType_;
};

// A data folder is missing and cannot be created. The store exists before any
// language text is loaded, so the error carries the folder and the number of
// the language text that the program entry formats once texts are available.
class FolderCreateError : public std::runtime_error {
 public:
  static constexpr int kLanguageText = 8;  // "%1" = the folder
  explicit FolderCreateError(const std::wstring& folder);
  const std::wstring& Folder() const { return folder_; }

 private:
  std::wstring folder_;
};

// Named values of the settings key. The settings object works on this
// interface so that its load and save can be observed.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The value when it exists, else the default; RegistryTypeError when it
  // exists with another type.
  virtual bool ReadBoolDef(const std::wstring& name, bool def) = 0;
  virtual std::int32_t ReadIntegerDef(const std::wstring& name, std::int32_t def) = 0;
  virtual std::wstring ReadStringDef(const std::wstring& name, const std::wstring& def) = 0;
  // Writes throw RegistryError on failure (a store that cannot be written at
  // all drops them: the user has been told).
  virtual void WriteString(const std::wstring& name, const std::wstring& value) = 0;
  virtual void WriteInteger(const std::wstring& name, std::int32_t value) = 0;
  virtual void WriteBool(const std::wstring& name, bool value) = 0;
  // False when the value did not exist or could not be deleted.
  virtual bool DeleteValue(const std::wstring& name) = 0;
  virtual bool ValueExists(const std::wstring& name) = 0;
};

// How a window should be shown after LoadFormPlacement: a hidden window keeps
// hidden, and its caller shows it maximised or normal as this says.
enum class FormWindowState { Normal, Maximised };

// How the store opens its key: for reading and writing, creating it when
// missing; else for reading only. Each answers the system's status.
struct SettingsKeyAccess {
  std::function<LONG(HKEY* key)> openForWriting = {};
  std::function<LONG(HKEY* key)> openForReading = {};
};
// The settings key of the current user.
SettingsKeyAccess SystemSettingsKeyAccess();

class TAppIni final : public SettingsStore {
 public:
  static constexpr const wchar_t* kKeyPath = kSettingsKeyPath;

  // Works out and creates DataFolder and ClipboardFolder under `appDataFolder`
  // (FolderCreateError when one cannot be created), then opens the key,
  // creating it when missing. A key the user may not write is opened for
  // reading only, and one that does not open at all reads as empty: either
  // way the store is not Writable and its writes change nothing.
  explicit TAppIni(const std::wstring& appDataFolder, const SettingsKeyAccess& access = SystemSettingsKeyAccess());
  ~TAppIni() override;
  TAppIni(const TAppIni&) = delete;
  TAppIni& operator=(const TAppIni&) = delete;

  const std::wstring& DataFolder() const { return dataFolder_; }
  const std::wstring& ClipboardFolder() const { return clipboardFolder_; }
  HKEY Key() const { return key_; }
  // False when the settings cannot be stored: the program entry tells the user once.
  bool Writable() const { return writable_; }

  bool ReadBoolDef(const std::wstring& name, bool def) override;
  std::int32_t ReadIntegerDef(const std::wstring& name, std::int32_t def) override;
  std::wstring ReadStringDef(const std::wstring& name, const std::wstring& def) override;
  void WriteString(const std::wstring& name, const std::wstring& value) override;
  void WriteInteger(const std::wstring& name, std::int32_t value) override;
  void WriteBool(const std::wstring& name, bool value) override;
  bool DeleteValue(const std::wstring& name) override;
  bool ValueExists(const std::wstring& name) override;

  // Values are named by the window's class name plus "Top", "Left", "Height",
  // "Width" and "State". Saving never throws (errors are dropped).
  void SaveFormPlacement(HWND form, bool positionOnly) noexcept;
  // Restores what SaveFormPlacement stored; a value of another type throws.
  // `centreOnDesktop`: centre on the window's monitor first, so stored values
  // override the centred position. A visible window gets its state at once.
  FormWindowState LoadFormPlacement(HWND form, bool positionOnly, bool centreOnDesktop = false);
  // Centres the window in the work area of the monitor that holds it.
  static void CenterFormOnMonitor(HWND form);

 private:
  std::wstring dataFolder_;
  std::wstring clipboardFolder_;
  HKEY key_ = nullptr;
  bool writable_ = false;
};

// Creates the store and the process-wide folder strings (once; a second call
// only answers the store). Throws FolderCreateError when a data folder cannot be made.
TAppIni& InitializeSettingsStore();
// Saves and frees the settings object first (its last save needs the open
// key), then closes the key and clears the folder strings. Never throws.
void FinalizeSettingsStore() noexcept;
// The store; std::logic_error before InitializeSettingsStore.
TAppIni& AppIni();
TAppIni* AppIniOrNull();

// Folders worked out at start, each ending in "\" (empty before start).
const std::wstring& GetProgramFolder();
const std::wstring& GetDocumentsFolder();
const std::wstring& GetSoundFolder();

}  // namespace snibbet
