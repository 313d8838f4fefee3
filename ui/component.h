#pragma once
// Something a form owns and finds by its component name ("btnOk", "tmrAction").
#include <string>

namespace ui {

class Form;

class Component {
 public:
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  const std::wstring& Name() const { return name_; }
  Form* OwnerForm() const { return owner_; }

 protected:
  // Registers with the owner (may be null: then nobody finds it by name).
  Component(Form* owner, std::wstring name);

 private:
  Form* owner_;
  std::wstring name_;
};

}  // namespace ui
