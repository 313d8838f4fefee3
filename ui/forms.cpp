#include "ui/forms.h"

#include <algorithm>

#include "ui/form.h"

namespace ui {
namespace {
std::vector<Form*> g_forms;
Form* g_active = nullptr;
}  // namespace

const std::vector<Form*>& Forms() { return g_forms; }

Form* FindFormByClassName(std::wstring_view className) {
  for (Form* form : g_forms) {
    if (form->ClassName() == className) return form;
  }
  return nullptr;
}

Form* ActiveForm() { return g_active; }

namespace detail {

void AddForm(Form* form) {
  if (std::find(g_forms.begin(), g_forms.end(), form) == g_forms.end()) g_forms.push_back(form);
}

void RemoveForm(Form* form) {
  g_forms.erase(std::remove(g_forms.begin(), g_forms.end(), form), g_forms.end());
  if (g_active == form) g_active = nullptr;
}

void SetActiveForm(Form* form, bool active) {
  if (active) {
    g_active = form;
  } else if (g_active == form) {
    g_active = nullptr;
  }
}

}  // namespace detail
}  // namespace ui
