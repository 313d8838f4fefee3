#pragma once
// Values under HKEY_CURRENT_USER. Key paths are relative to HKCU; a leading "\" or
// "HKCU\" / "HKEY_CURRENT_USER\" is accepted, e.g. "\SOFTWARE\OrvaneSoftware\Snibbet".
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace probe {

struct RegValue {
  DWORD type = REG_NONE;
  std::vector<uint8_t> data;
  std::wstring AsString() const;   // REG_SZ / REG_EXPAND_SZ text without terminating zeros
  DWORD AsDword() const;           // REG_DWORD, 0 when the data is too short
};

struct NamedRegValue {
  std::wstring name;
  RegValue value;
};

std::wstring RegTypeName(DWORD type);

bool RegKeyExists(const std::wstring& key);
std::optional<RegValue> ReadRegValue(const std::wstring& key, const std::wstring& name);
std::optional<std::wstring> ReadRegString(const std::wstring& key, const std::wstring& name);
std::optional<DWORD> ReadRegDword(const std::wstring& key, const std::wstring& name);
std::vector<NamedRegValue> ListRegValues(const std::wstring& key);

// The writers create the key when needed; they throw std::runtime_error on failure.
void WriteRegValue(const std::wstring& key, const std::wstring& name, const RegValue& value);
void WriteRegString(const std::wstring& key, const std::wstring& name, const std::wstring& text);
void WriteRegDword(const std::wstring& key, const std::wstring& name, DWORD number);
void WriteRegBinary(const std::wstring& key, const std::wstring& name, const std::vector<uint8_t>& bytes);

// True when the value (key) existed and is gone now.
bool DeleteRegValue(const std::wstring& key, const std::wstring& name);
bool DeleteRegKey(const std::wstring& key);   // with all subkeys

// A fresh, uniquely named key under HKCU\Software\SnibbetProbe, deleted with its contents at scope end.
class TempRegKey {
 public:
  TempRegKey();
  ~TempRegKey();
  TempRegKey(const TempRegKey&) = delete;
  TempRegKey& operator=(const TempRegKey&) = delete;
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

}  // namespace probe
