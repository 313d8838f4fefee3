#include "core/system_details.h"

#include <string>

#include "core/version_info.h"

namespace snibbet {
namespace {

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);

constexpr wchar_t kProcessorKey[] = L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

std::optional<std::wstring> NonEmpty(std::wstring text) {
  if (text.empty()) return std::nullopt;
  return text;
}

// A fact whose gathering fails is left out; the next one is still tried.
template <class Gather>
auto OrNothing(Gather gather) noexcept -> decltype(gather()) {
  try {
    return gather();
  } catch (...) {
    return std::nullopt;
  }
}

std::optional<ScreenFacts> GatherScreenFacts(const KeyboardLayoutSource& keyboardLayout) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  if (width <= 0 || height <= 0) return std::nullopt;
  const HKL layout = keyboardLayout ? keyboardLayout() : ForegroundKeyboardLayout();
  return ScreenFacts{width, height, static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(layout))};
}

}  // namespace

HKL ForegroundKeyboardLayout() {
  HWND foreground = GetForegroundWindow();
  return GetKeyboardLayout(foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0);
}

std::optional<OsFacts> GatherOsFacts() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto getVersion = reinterpret_cast<RtlGetVersionFn>(
      ntdll ? reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")) : nullptr);
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!getVersion || getVersion(&info) != 0) return std::nullopt;
  return OsFacts{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.wProductType, info.szCSDVersion};
}

std::optional<CpuFacts> GatherCpuFacts() {
  wchar_t name[128] = {};
  DWORD nameSize = sizeof name;
  DWORD megahertz = 0, mhzSize = sizeof megahertz;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kProcessorKey, L"ProcessorNameString", RRF_RT_REG_SZ, nullptr, name,
                   &nameSize) != ERROR_SUCCESS ||
      RegGetValueW(HKEY_LOCAL_MACHINE, kProcessorKey, L"~MHz", RRF_RT_REG_DWORD, nullptr, &megahertz, &mhzSize) !=
          ERROR_SUCCESS) {
    return std::nullopt;
  }
  return CpuFacts{CleanProcessorName(name), megahertz};
}

std::optional<MemoryFacts> GatherMemoryFacts() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status)) return std::nullopt;
  return MemoryFacts{status.ullTotalPhys, status.ullAvailPhys};
}

SystemFacts GatherSystemFacts(const KeyboardLayoutSource& keyboardLayout) {
  SystemFacts facts;
  facts.productVersion = OrNothing([] { return NonEmpty(GetVersionInfoString(ProgramFileName(), L"ProductVersion")); });
  facts.fileVersion = OrNothing([] { return NonEmpty(GetVersionInfoString(ProgramFileName(), L"FileVersion")); });
  facts.os = OrNothing(GatherOsFacts);
  facts.cpu = OrNothing(GatherCpuFacts);
  facts.memory = OrNothing(GatherMemoryFacts);
  facts.screen = OrNothing([&] { return GatherScreenFacts(keyboardLayout); });
  return facts;
}

}  // namespace snibbet
