#include "ui/window_class.h"

#include <system_error>
#include <utility>
#include <vector>

namespace ui {

WindowClass::WindowClass(const WNDCLASSEXW& description)
    : instance_(description.hInstance), name_(description.lpszClassName) {
  atom_ = RegisterClassExW(&description);
  if (!atom_) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "RegisterClassEx failed");
  }
}

WindowClass::~WindowClass() { Unregister(); }

WindowClass::WindowClass(WindowClass&& other) noexcept
    : atom_(std::exchange(other.atom_, 0)), instance_(other.instance_), name_(std::move(other.name_)) {}

WindowClass& WindowClass::operator=(WindowClass&& other) noexcept {
  if (this != &other) {
    Unregister();
    atom_ = std::exchange(other.atom_, 0);
    instance_ = other.instance_;
    name_ = std::move(other.name_);
  }
  return *this;
}

void WindowClass::Unregister() {
  if (atom_) UnregisterClassW(MAKEINTATOM(atom_), instance_);
  atom_ = 0;
}

namespace {
std::vector<WindowClass>& Registered() {
  static std::vector<WindowClass> classes;
  return classes;
}
}  // namespace

void EnsureWindowClass(const WNDCLASSEXW& description) {
  for (const WindowClass& c : Registered()) {
    if (c.Name() == description.lpszClassName) return;
  }
  Registered().emplace_back(description);
}

void UnregisterAllWindowClasses() { Registered().clear(); }

}  // namespace ui
