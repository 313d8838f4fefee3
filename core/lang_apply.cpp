#include "core/lang_apply.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "core/qv_form.h"
#include "ui/exceptions.h"
#include "ui/forms.h"

namespace snibbet {
namespace {

bool StillOpen(const ui::Form* form) {
  const auto& open = ui::Forms();
  return std::find(open.begin(), open.end(), form) != open.end();
}

}  // namespace

void ApplyLanguageEverywhere(const std::function<void()>& programTexts) {
  std::exception_ptr firstFailure;
  auto attempt = [&firstFailure](auto&& step) {
    try {
      step();
    } catch (...) {
      if (!firstFailure) firstFailure = std::current_exception();
    }
  };

  if (programTexts) attempt(programTexts);
  // A copy: a form's ApplyLanguage may open or close other forms.
  const std::vector<ui::Form*> forms = ui::Forms();
  for (ui::Form* form : forms) {
    if (!StillOpen(form) || !IsQvForm(*form)) continue;
    attempt([form] {
      form->ApplyLanguage();
      RepaintNow(form->Handle());
    });
  }
  if (firstFailure) ui::HandleException(firstFailure);
}

}  // namespace snibbet
