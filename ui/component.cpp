#include "ui/component.h"

#include <algorithm>

#include "ui/form.h"

namespace ui {

Component::Component(Form* owner, std::wstring name) : owner_(owner), name_(std::move(name)) {
  if (owner_) owner_->components_.push_back(this);
}

Component::~Component() {
  if (owner_) {
    auto& list = owner_->components_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
}

}  // namespace ui
