#include "core/sounds.h"

namespace snibbet {
namespace {

bool EndsWithWav(const std::wstring& name) {
  if (name.size() < 4) return false;
  std::wstring tail = name.substr(name.size() - 4);
  for (wchar_t& c : tail) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return tail == L".wav";
}

// Either separator names a folder; Windows takes both.
bool HasFolder(const std::wstring& entry) { return entry.find_first_of(L"\\/") != std::wstring::npos; }

}  // namespace

std::wstring ResolveSoundFile(const std::wstring& entry, const std::wstring& soundFolder,
                              const std::function<bool(const std::wstring& path)>& fileExists) {
  if (entry.empty()) return {};
  std::wstring file = HasFolder(entry) ? entry : soundFolder + entry;
  if (!EndsWithWav(file)) file += L".wav";
  return fileExists && fileExists(file) ? file : std::wstring();
}

}  // namespace snibbet
