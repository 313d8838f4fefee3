#include "core/lang_apply.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "core/qv_form.h"
#include "ui/exceptions.h"
#include "ui/forms.h"

namespace snibbet {
namespace {

std::function<void()> g_dataModuleHandler;

bool StillOpen(const ui::Form* form) {
  const auto& open = ui::Forms();
  return std::find(open.begin(), open.end(), form) != open.end();
}

}  // namespace

void SetDataModuleLanguageHandler(std::function<void()> handler) { g_dataModuleHandler = std::move(handler); }

void ApplyLanguageEverywhere() {
  std::exception_ptr firstFailure;
  auto attempt = [&firstFailure](auto&& step) {
    try {
      step();
    } catch (...) {
      if (!firstFailure) firstFailure = std::current_exception();
    }
  };

  if (g_dataModuleHandler) attempt(g_dataModuleHandler);
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
