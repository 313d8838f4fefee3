#include "core/app_ini.h"

#include <shlobj.h>

#include <memory>
#include <vector>

#include "core/paths.h"
#include "core/preset.h"
#include "core/program_folder.h"

namespace snibbet {
namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                 nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

// `path` joined with an empty name: ends in exactly one "\".
std::wstring WithBackslash(const std::wstring& path) { return JoinPath(path, L""); }

std::wstring SpecialFolder(int csidl) {
  wchar_t buffer[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
  return buffer;
}

bool IsFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates `folder` (ending in "\") with every missing parent.
void EnsureFolder(const std::wstring& folder) {
  std::wstring path = folder;
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  if (IsFolder(path)) return;
  SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
  if (!IsFolder(path)) throw FolderCreateError(folder);
}

std::wstring DescribeType(DWORD type) {
  switch (type) {
    case REG_SZ: return L"REG_SZ";
    case REG_EXPAND_SZ: return L"REG_EXPAND_SZ";
    case REG_DWORD: return L"REG_DWORD";
    case REG_BINARY: return L"REG_BINARY";
    case REG_MULTI_SZ: return L"REG_MULTI_SZ";
    case REG_QWORD: return L"REG_QWORD";
    default: return L"type " + std::to_wstring(type);
  }
}

[[noreturn]] void ThrowFailure(const std::wstring& name, const char* what, LONG status) {
  throw RegistryError(name, std::string(what) + " '" + Utf8(name) + "' (error " + std::to_string(status) + ")");
}

std::unique_ptr<TAppIni> g_store;
std::wstring g_programFolder;
std::wstring g_documentsFolder;
std::wstring g_soundFolder;

}  // namespace

RegistryError::RegistryError(const std::wstring& valueName, const std::string& message)
    : std::runtime_error(message), valueName_(valueName) {}

RegistryTypeError::RegistryTypeError(const std::wstring& valueName, DWORD actualType)
    : RegistryError(valueName, "Invalid data type for '" + Utf8(valueName) + "' (" + Utf8(DescribeType(actualType)) +
                                   ")"),
      actualType_(actualType) {}

FolderCreateError::FolderCreateError(const std::wstring& folder)
    : std::runtime_error("Cannot create folder " + Utf8(folder)), folder_(folder) {}

SettingsKeyAccess SystemSettingsKeyAccess() {
  return {.openForWriting =
              [](HKEY* key) {
                return RegCreateKeyExW(HKEY_CURRENT_USER, TAppIni::kKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                       KEY_READ | KEY_WRITE, nullptr, key, nullptr);
              },
          .openForReading =
              [](HKEY* key) { return RegOpenKeyExW(HKEY_CURRENT_USER, TAppIni::kKeyPath, 0, KEY_READ, key); }};
}

TAppIni::TAppIni(const std::wstring& appDataFolder, const SettingsKeyAccess& access) {
  dataFolder_ = WithBackslash(JoinPath(appDataFolder, L"OrvaneSoftware\\Snibbet"));
  if (appDataFolder.empty()) throw FolderCreateError(dataFolder_);  // never in the drive's root
  EnsureFolder(dataFolder_);
  clipboardFolder_ = dataFolder_ + L"Clipboard\\";
  EnsureFolder(clipboardFolder_);
  HKEY key = nullptr;
  if (access.openForWriting(&key) == ERROR_SUCCESS && key) {
    key_ = key;
    writable_ = true;
    return;
  }
  // What the user may still read is used; without even that, key_ stays null
  // and every value reads as missing.
  key = nullptr;
  if (access.openForReading(&key) == ERROR_SUCCESS) key_ = key;
}

TAppIni::~TAppIni() {
  if (key_) RegCloseKey(key_);
}

std::int32_t TAppIni::ReadIntegerDef(const std::wstring& name, std::int32_t def) {
  if (!key_) return def;
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof(value);
  LONG status = RegQueryValueExW(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  if (status == ERROR_FILE_NOT_FOUND) return def;
  if (status == ERROR_MORE_DATA || (status == ERROR_SUCCESS && (type != REG_DWORD || size != sizeof(value)))) {
    throw RegistryTypeError(name, type);
  }
  if (status != ERROR_SUCCESS) ThrowFailure(name, "Cannot read", status);
  return static_cast<std::int32_t>(value);
}

bool TAppIni::ReadBoolDef(const std::wstring& name, bool def) { return ReadIntegerDef(name, def ? 1 : 0) != 0; }

std::wstring TAppIni::ReadStringDef(const std::wstring& name, const std::wstring& def) {
  // Stored data need not end in NUL nor stop at it: read the bytes into a
  // buffer one character longer than the data and cut at the first NUL.
  if (!key_) return def;
  std::vector<wchar_t> buffer;
  for (;;) {
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key_, name.c_str(), nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND) return def;
    if (status != ERROR_SUCCESS) ThrowFailure(name, "Cannot read", status);
    if (type != REG_SZ && type != REG_EXPAND_SZ) throw RegistryTypeError(name, type);
    buffer.assign(size / sizeof(wchar_t) + 2, L'\0');
    DWORD capacity = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    status = RegQueryValueExW(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &capacity);
    if (status == ERROR_MORE_DATA) continue;  // grew in between
    if (status == ERROR_FILE_NOT_FOUND) return def;
    if (status != ERROR_SUCCESS) ThrowFailure(name, "Cannot read", status);
    if (type != REG_SZ && type != REG_EXPAND_SZ) throw RegistryTypeError(name, type);
    buffer[capacity / sizeof(wchar_t)] = L'\0';
    return std::wstring(buffer.data());
  }
}

void TAppIni::WriteString(const std::wstring& name, const std::wstring& value) {
  if (!writable_) return;
  DWORD size = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));  // with the terminator
  LONG status = RegSetValueExW(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), size);
  if (status != ERROR_SUCCESS) ThrowFailure(name, "Failed to set data for", status);
}

void TAppIni::WriteInteger(const std::wstring& name, std::int32_t value) {
  if (!writable_) return;
  DWORD data = static_cast<DWORD>(value);
  LONG status = RegSetValueExW(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
  if (status != ERROR_SUCCESS) ThrowFailure(name, "Failed to set data for", status);
}

void TAppIni::WriteBool(const std::wstring& name, bool value) { WriteInteger(name, value ? 1 : 0); }

bool TAppIni::DeleteValue(const std::wstring& name) {
  return writable_ && RegDeleteValueW(key_, name.c_str()) == ERROR_SUCCESS;
}

bool TAppIni::ValueExists(const std::wstring& name) {
  return key_ && RegQueryValueExW(key_, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

TAppIni& InitializeSettingsStore() {
  if (g_store) return *g_store;
  g_store = std::make_unique<TAppIni>(SpecialFolder(CSIDL_APPDATA));
  g_programFolder = WithBackslash(ProgramFolder());
  std::wstring documents = SpecialFolder(CSIDL_PERSONAL);
  g_documentsFolder = documents.empty() ? documents : WithBackslash(documents);
  g_soundFolder = g_programFolder + L"Sound\\";
  return *g_store;
}

void FinalizeSettingsStore() noexcept {
  FinalizePreset();
  g_store.reset();
  g_programFolder.clear();
  g_documentsFolder.clear();
  g_soundFolder.clear();
}

TAppIni& AppIni() {
  if (!g_store) throw std::logic_error("The settings store is not initialised");
  return *g_store;
}

TAppIni* AppIniOrNull() { return g_store.get(); }

const std::wstring& GetProgramFolder() { return g_programFolder; }
const std::wstring& GetDocumentsFolder() { return g_documentsFolder; }
const std::wstring& GetSoundFolder() { return g_soundFolder; }

}  // namespace snibbet
