#pragma once
// Gathers the facts an error report carries: the program's versions, the
// Windows version, the processor, the memory, the screen and the keyboard
// layout (core/system_details_text.h formats them).
#include <windows.h>

#include <functional>

#include "core/system_details_text.h"

namespace snibbet {

// The current keyboard layout; when not given, that of the foreground window.
using KeyboardLayoutSource = std::function<HKL()>;
HKL ForegroundKeyboardLayout();

// Each fact whose gathering fails is left empty.
SystemFacts GatherSystemFacts(const KeyboardLayoutSource& keyboardLayout = {});

// The true Windows version (not the one an unmanifested program is told).
std::optional<OsFacts> GatherOsFacts();
std::optional<CpuFacts> GatherCpuFacts();
std::optional<MemoryFacts> GatherMemoryFacts();  // GlobalMemoryStatusEx

}  // namespace snibbet
