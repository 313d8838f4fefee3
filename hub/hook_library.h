#pragma once
// The hook library SnibbetH as the program switch binds it: loaded by name, its
// "Hook" entry called with the window to report to, its "UnHook" entry called
// before it is freed. Entries are looked up when they are needed, so a library
// without "UnHook" still binds and fails only when the program switches off.
#include <windows.h>

#include "ui/handles.h"

#include <string>

namespace snibbet {

enum class HookLoadResult {
  Ready,          // loaded, "Hook" found
  AlreadyLoaded,  // a library is still loaded (an earlier load found no "Hook")
  CannotLoad,     // nothing loaded
  NoHookEntry,    // loaded, but without "Hook"; it stays loaded
};

class HookLibrary {
 public:
  explicit HookLibrary(std::wstring fileName);
  // Frees the library unless its Hook ran without UnHook: then its code may
  // still be called back, and it stays until the process ends.
  ~HookLibrary();
  HookLibrary(const HookLibrary&) = delete;
  HookLibrary& operator=(const HookLibrary&) = delete;

  const std::wstring& FileName() const { return fileName_; }
  bool Loaded() const { return static_cast<bool>(module_); }
  bool Hooked() const { return hooked_; }

  HookLoadResult Load();
  // Calls "Hook" with `reportTo`; only after Load answered Ready.
  void Hook(HWND reportTo);
  // Calls "UnHook"; false, with nothing done, when the library lacks it.
  bool UnHook();
  void Free();

 private:
  using HookEntry = void(WINAPI*)(HWND);
  using UnHookEntry = void(WINAPI*)();

  std::wstring fileName_;
  ui::ModuleHandle module_;
  HookEntry hook_ = nullptr;
  bool hooked_ = false;
};

}  // namespace snibbet
