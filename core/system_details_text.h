#pragma once
// The program and system facts that an error report carries, as text.
// Window-free: the facts are gathered by core/system_details.h.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/product_name.h"

namespace snibbet {


struct OsFacts {
  uint32_t major = 0, minor = 0, build = 0;
  uint8_t productType = 1;  // 1 workstation, 2 domain controller, 3 server
  std::wstring servicePack;  // "Service Pack 3", or ""
};

struct CpuFacts {
  std::wstring name;
  uint32_t megahertz = 0;
};

struct MemoryFacts {
  uint64_t totalBytes = 0, availableBytes = 0;
};

struct ScreenFacts {
  int width = 0, height = 0;
  uint32_t keyboardLayout = 0;
};

// Each fact that could not be gathered is left out of the report.
struct SystemFacts {
  std::optional<std::wstring> productVersion, fileVersion;
  std::optional<OsFacts> os;
  std::optional<CpuFacts> cpu;
  std::optional<MemoryFacts> memory;
  std::optional<ScreenFacts> screen;
};

// "Windows XP", "Windows Server 2008 R2", "Windows 11"...; "Windows <major>.<minor>"
// for a version without a name.
std::wstring WindowsVersionName(const OsFacts& os);
std::wstring ProductTypeName(uint8_t productType);  // "Workstation", "Server", "Domain Controller"

// The processor's brand text as the system gives it: at most 48 characters,
// without surrounding blanks or control characters (and no run of blanks inside).
std::wstring CleanProcessorName(std::wstring_view raw);

// The lines of the report after its message:
//   Orvane Paste 2.3 (2.3.0.1)
//   OS: Windows XP Workstation Service Pack 3 (2600)
//   CPU: Intel(R) Core(TM) i5 CPU (2400)
//   RAM: 2048 Mb (1024 Mb)
//   1280x1024  00000409
// Lines are separated by CR LF; a missing fact drops its line.
std::wstring FormatSystemDetails(const SystemFacts& facts);

}  // namespace snibbet
