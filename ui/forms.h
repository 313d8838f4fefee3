#pragma once
// The process-wide list of open forms (those whose window exists), in the
// order their windows were created.
#include <string_view>
#include <vector>

namespace ui {

class Form;

// Copy the list before a loop whose steps may open or close forms.
const std::vector<Form*>& Forms();
Form* FindFormByClassName(std::wstring_view className);
// The form of ours that was activated last and is still active; null when
// another program or none of our forms is active.
Form* ActiveForm();

namespace detail {
void AddForm(Form* form);
void RemoveForm(Form* form);
void SetActiveForm(Form* form, bool active);
}  // namespace detail

}  // namespace ui
