#include "app/program_tray_port.h"

#include "app/first_form.h"
#include "dialogs/about_form.h"

namespace snibbet {

void ProgramTrayPort::OpenAbout() { ShowAboutBox(&parts_.preset); }

void ProgramTrayPort::SetHelpFile(const std::wstring& helpFile) {
  if (TFirstForm* form = FirstForm()) form->HelpRouter().SetHelpFile(helpFile);
}

}  // namespace snibbet
