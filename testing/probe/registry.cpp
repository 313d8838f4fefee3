#include "testing/probe/registry.h"

#include <atomic>
#include <cstring>
#include <stdexcept>

#include "testing/probe/text.h"

namespace probe {
namespace {

std::wstring Relative(const std::wstring& key) {
  for (const wchar_t* prefix : {L"HKEY_CURRENT_USER\\", L"HKCU\\"}) {
    const size_t n = std::wcslen(prefix);
    if (key.size() >= n && _wcsnicmp(key.c_str(), prefix, n) == 0) return key.substr(n);
  }
  size_t start = key.find_first_not_of(L'\\');
  return start == std::wstring::npos ? std::wstring() : key.substr(start);
}

class Key {
 public:
  Key(const std::wstring& path, REGSAM access, bool create) {
    const std::wstring relative = Relative(path);
    status_ = create ? RegCreateKeyExW(HKEY_CURRENT_USER, relative.c_str(), 0, nullptr, 0, access, nullptr,
                                       &handle_, nullptr)
                     : RegOpenKeyExW(HKEY_CURRENT_USER, relative.c_str(), 0, access, &handle_);
    if (status_ != ERROR_SUCCESS) handle_ = nullptr;
  }
  ~Key() { if (handle_) RegCloseKey(handle_); }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY get() const { return handle_; }
  LSTATUS status() const { return status_; }

 private:
  HKEY handle_ = nullptr;
  LSTATUS status_ = ERROR_SUCCESS;
};

}  // namespace

std::wstring RegValue::AsString() const {
  std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

DWORD RegValue::AsDword() const {
  DWORD number = 0;
  if (data.size() >= sizeof(number)) std::memcpy(&number, data.data(), sizeof(number));
  return number;
}

std::wstring RegTypeName(DWORD type) {
  switch (type) {
    case REG_NONE: return L"REG_NONE";
    case REG_SZ: return L"REG_SZ";
    case REG_EXPAND_SZ: return L"REG_EXPAND_SZ";
    case REG_BINARY: return L"REG_BINARY";
    case REG_DWORD: return L"REG_DWORD";
    case REG_MULTI_SZ: return L"REG_MULTI_SZ";
    case REG_QWORD: return L"REG_QWORD";
    default: return L"type " + std::to_wstring(type);
  }
}

bool RegKeyExists(const std::wstring& key) { return Key(key, KEY_READ, false).get() != nullptr; }

std::optional<RegValue> ReadRegValue(const std::wstring& key, const std::wstring& name) {
  Key opened(key, KEY_QUERY_VALUE, false);
  if (!opened.get()) return std::nullopt;
  RegValue value;
  DWORD size = 0;
  if (RegQueryValueExW(opened.get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  value.data.resize(size);
  if (RegQueryValueExW(opened.get(), name.c_str(), nullptr, &value.type, value.data.data(), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  value.data.resize(size);
  return value;
}

std::optional<std::wstring> ReadRegString(const std::wstring& key, const std::wstring& name) {
  auto value = ReadRegValue(key, name);
  if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ)) return std::nullopt;
  return value->AsString();
}

std::optional<DWORD> ReadRegDword(const std::wstring& key, const std::wstring& name) {
  auto value = ReadRegValue(key, name);
  if (!value || value->type != REG_DWORD) return std::nullopt;
  return value->AsDword();
}

std::vector<NamedRegValue> ListRegValues(const std::wstring& key) {
  std::vector<NamedRegValue> values;
  Key opened(key, KEY_QUERY_VALUE, false);
  if (!opened.get()) return values;
  DWORD count = 0, maxName = 0, maxData = 0;
  RegQueryInfoKeyW(opened.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName,
                   &maxData, nullptr, nullptr);
  for (DWORD i = 0; i < count; ++i) {
    std::wstring name(maxName + 1, L'\0');
    DWORD nameSize = maxName + 1, dataSize = maxData;
    RegValue value;
    value.data.resize(maxData);
    if (RegEnumValueW(opened.get(), i, name.data(), &nameSize, nullptr, &value.type, value.data.data(),
                      &dataSize) != ERROR_SUCCESS)
      continue;
    name.resize(nameSize);
    value.data.resize(dataSize);
    values.push_back({std::move(name), std::move(value)});
  }
  return values;
}

void WriteRegValue(const std::wstring& key, const std::wstring& name, const RegValue& value) {
  Key opened(key, KEY_SET_VALUE, true);
  if (!opened.get()) throw std::runtime_error("cannot create key " + ToUtf8(key) + ": " + LastErrorText(opened.status()));
  const LSTATUS status = RegSetValueExW(opened.get(), name.c_str(), 0, value.type, value.data.data(),
                                        static_cast<DWORD>(value.data.size()));
  if (status != ERROR_SUCCESS)
    throw std::runtime_error("cannot write " + ToUtf8(key + L"\\" + name) + ": " + LastErrorText(status));
}

void WriteRegString(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
  const auto* begin = reinterpret_cast<const uint8_t*>(text.c_str());
  WriteRegValue(key, name, {REG_SZ, std::vector<uint8_t>(begin, begin + (text.size() + 1) * sizeof(wchar_t))});
}

void WriteRegDword(const std::wstring& key, const std::wstring& name, DWORD number) {
  const auto* begin = reinterpret_cast<const uint8_t*>(&number);
  WriteRegValue(key, name, {REG_DWORD, std::vector<uint8_t>(begin, begin + sizeof(number))});
}

void WriteRegBinary(const std::wstring& key, const std::wstring& name, const std::vector<uint8_t>& bytes) {
  WriteRegValue(key, name, {REG_BINARY, bytes});
}

bool DeleteRegValue(const std::wstring& key, const std::wstring& name) {
  Key opened(key, KEY_SET_VALUE, false);
  return opened.get() && RegDeleteValueW(opened.get(), name.c_str()) == ERROR_SUCCESS;
}

bool DeleteRegKey(const std::wstring& key) {
  const std::wstring relative = Relative(key);
  if (relative.empty()) return false;   // never the whole of HKCU
  if (RegDeleteTreeW(HKEY_CURRENT_USER, relative.c_str()) != ERROR_SUCCESS) return false;
  RegDeleteKeyW(HKEY_CURRENT_USER, relative.c_str());   // some systems leave the emptied key
  return !RegKeyExists(relative);
}

TempRegKey::TempRegKey() {
  static std::atomic<unsigned> counter{0};
  path_ = L"Software\\SnibbetProbe\\" + std::to_wstring(GetCurrentProcessId()) + L"_" +
          std::to_wstring(GetTickCount()) + L"_" + std::to_wstring(counter++);
  Key created(path_, KEY_READ, true);
}

TempRegKey::~TempRegKey() { DeleteRegKey(path_); }

}  // namespace probe
