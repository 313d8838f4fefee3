#include "core/form_help.h"

#include "core/qv_form.h"
#include "ui/application.h"
#include "ui/forms.h"
#include "ui/help_router.h"

namespace snibbet {
namespace {

// Help is a convenience: whatever goes wrong stays here.
void HelpCommand(UINT command, ULONG_PTR data) {
  try {
    ui::HelpCommand(command, data);
  } catch (...) {
  }
}

}  // namespace

int FormHelpContext(const ui::Form* form) {
  const auto* mark = dynamic_cast<const QvFormMark*>(form);
  return mark ? mark->HelpContext() : 0;
}

void ShowActiveFormHelp() {
  const int context = FormHelpContext(ui::ActiveForm());
  if (context != 0) {
    ShowHelpContext(context);
  } else {
    ShowHelpContents();
  }
}

void ShowHelpContext(int context) { HelpCommand(HELP_CONTEXT, static_cast<ULONG_PTR>(context)); }

void ShowHelpContents() { HelpCommand(ui::kHelpTab, 0); }

}  // namespace snibbet
