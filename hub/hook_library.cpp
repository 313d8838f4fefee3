#include "hub/hook_library.h"

#include <utility>

#include "core/hook_messages.h"

namespace snibbet {

HookLibrary::HookLibrary(std::wstring fileName) : fileName_(std::move(fileName)) {}

HookLibrary::~HookLibrary() {
  if (hooked_) module_.Release();  // stays loaded for good
}

HookLoadResult HookLibrary::Load() {
  if (module_) return HookLoadResult::AlreadyLoaded;
  module_.Reset(LoadLibraryW(fileName_.c_str()));
  if (!module_) return HookLoadResult::CannotLoad;
  hook_ = reinterpret_cast<HookEntry>(GetProcAddress(module_.Get(), kHookEntryName));
  return hook_ != nullptr ? HookLoadResult::Ready : HookLoadResult::NoHookEntry;
}

void HookLibrary::Hook(HWND reportTo) {
  if (hook_ == nullptr) return;
  hook_(reportTo);
  hooked_ = true;
}

bool HookLibrary::UnHook() {
  if (!module_) return true;
  auto unhook = reinterpret_cast<UnHookEntry>(GetProcAddress(module_.Get(), kUnHookEntryName));
  if (unhook == nullptr) return false;
  unhook();
  hooked_ = false;
  return true;
}

void HookLibrary::Free() {
  module_.Reset();
  hook_ = nullptr;
  hooked_ = false;
}

}  // namespace snibbet
