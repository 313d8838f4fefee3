#include "testing/probe/wine.h"

#include <windows.h>

#include "testing/probe/text.h"

namespace probe {
namespace {

template <typename Fn>
Fn WineExport(const wchar_t* module, const char* name) {
  HMODULE dll = GetModuleHandleW(module);
  return dll ? reinterpret_cast<Fn>(GetProcAddress(dll, name)) : nullptr;
}

}  // namespace

bool RunningUnderWine() {
  return WineExport<void*>(L"ntdll.dll", "wine_get_version") != nullptr;
}

std::optional<std::string> UnixPathOf(const std::wstring& windowsPath) {
  using Fn = char*(CDECL*)(const wchar_t*);
  auto toUnix = WineExport<Fn>(L"kernel32.dll", "wine_get_unix_file_name");
  if (!toUnix) return std::nullopt;
  char* unix = toUnix(windowsPath.c_str());
  if (!unix) return std::nullopt;
  std::string out(unix);
  HeapFree(GetProcessHeap(), 0, unix);
  return out;
}

std::wstring WindowsPathOf(const std::string& unixPath) {
  using Fn = wchar_t*(CDECL*)(const char*);
  if (auto toDos = WineExport<Fn>(L"kernel32.dll", "wine_get_dos_file_name")) {
    if (wchar_t* dos = toDos(unixPath.c_str())) {
      std::wstring out(dos);
      HeapFree(GetProcessHeap(), 0, dos);
      // Paths outside every drive come back as \\?\unix\...; the Z: drive is friendlier.
      if (out.rfind(L"\\\\?\\unix\\", 0) != 0) return out;
    }
  }
  std::wstring out = FromUtf8(unixPath);
  for (auto& c : out) if (c == L'/') c = L'\\';
  if (RunningUnderWine() && !out.empty() && out[0] == L'\\') out = L"Z:" + out;
  return out;
}

}  // namespace probe
