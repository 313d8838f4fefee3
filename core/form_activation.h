#pragma once
// Opening a window only once: a second request brings the open one forward.
#include <string_view>
#include <utility>

#include "ui/application.h"
#include "ui/form.h"
#include "ui/forms.h"

namespace snibbet {

// The first open form whose class has this name is restored when minimised,
// shown when hidden, else brought to the front. False when there is none.
bool ActivateFormByClassName(std::wstring_view className);

// When no form of T's class (T::kClassName) is open, creates one owned by the
// application from `args` and shows it; otherwise activates the open one.
// Returns the form now in front; null only when a form of another type has
// taken T's class name.
template <class T, class... Args>
T* ShowFormOnce(Args&&... args) {
  if (ActivateFormByClassName(T::kClassName)) return dynamic_cast<T*>(ui::FindFormByClassName(T::kClassName));
  T& form = ui::Application::Get().CreateForm<T>(std::forward<Args>(args)...);
  form.Show();
  return &form;
}

}  // namespace snibbet
