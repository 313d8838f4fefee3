#pragma once
// The program's message boxes and questions, captioned from the language table.
#include <string_view>

namespace snibbet {

// OK boxes, modal to the program's active window.
void ShowErrorMessage(std::wstring_view text);    // caption: text 9
void ShowWarningMessage(std::wstring_view text);  // caption: text 10
void ShowInfoMessage(std::wstring_view text);     // caption: text 11

enum class Answer { Yes, No, Cancel };

// Questions owned by the application window, caption: text 12.
bool AskYesNo(std::wstring_view text);  // true for Yes
Answer AskYesNoCancel(std::wstring_view text);

Answer AskSaveChanges();         // before New/Open discards unsaved templates
Answer AskSaveChangesOnClose();  // a window with unsaved changes closes
bool AskConfirmDelete();         // delete the selected template

}  // namespace snibbet
