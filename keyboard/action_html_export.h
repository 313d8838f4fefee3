#pragma once
// Writes the HTML listing of all bindings to "zqkeys.htm" in the documents
// folder, with one picture per binding in its "zqkeys" folder, and opens it.
#include "keyboard/action_shell.h"
#include "keyboard/actions.h"

namespace snibbet {

// False when the page could not be written (nothing is opened then).
bool ExportActionsToHtml(TQvActions& list, BindingShell& shell = ProgramShell());

}  // namespace snibbet
