#pragma once
// Window-class registration. Forms register their class under the form's
// class name once per process; other programs find our windows by it.
#include <windows.h>

#include <string>

namespace ui {

// RegisterClassExW / UnregisterClassW.
class WindowClass {
 public:
  WindowClass() = default;
  explicit WindowClass(const WNDCLASSEXW& description);  // throws std::system_error
  ~WindowClass();
  WindowClass(WindowClass&& other) noexcept;
  WindowClass& operator=(WindowClass&& other) noexcept;
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;

  ATOM Atom() const { return atom_; }
  const std::wstring& Name() const { return name_; }

 private:
  void Unregister();
  ATOM atom_ = 0;
  HINSTANCE instance_ = nullptr;
  std::wstring name_;
};

// Registers the class once per process (the first description of a name wins)
// and keeps it until UnregisterAllWindowClasses at application shut-down.
void EnsureWindowClass(const WNDCLASSEXW& description);
void UnregisterAllWindowClasses();

}  // namespace ui
