#include "core/hook_library.h"

#include <utility>

#include "core/hook_messages.h"

namespace snibbet {

HookLibrary::HookLibrary(std::wstring fileName) : fileName_(std::move(fileName)) {}

HookLibrary::~HookLibrary() {
  if (!hooked_) Free();
}

HookLoadResult HookLibrary::Load() {
  if (module_ != nullptr) return HookLoadResult::AlreadyLoaded;
  module_ = LoadLibraryW(fileName_.c_str());
  if (module_ == nullptr) return HookLoadResult::CannotLoad;
  hook_ = reinterpret_cast<HookEntry>(GetProcAddress(module_, kHookEntryName));
  return hook_ != nullptr ? HookLoadResult::Ready : HookLoadResult::NoHookEntry;
}

void HookLibrary::Hook(HWND reportTo) {
  if (hook_ == nullptr) return;
  hook_(reportTo);
  hooked_ = true;
}

bool HookLibrary::UnHook() {
  if (module_ == nullptr) return true;
  auto unhook = reinterpret_cast<UnHookEntry>(GetProcAddress(module_, kUnHookEntryName));
  if (unhook == nullptr) return false;
  unhook();
  hooked_ = false;
  return true;
}

void HookLibrary::Free() {
  if (module_ != nullptr) FreeLibrary(std::exchange(module_, nullptr));
  hook_ = nullptr;
  hooked_ = false;
}

}  // namespace snibbet
