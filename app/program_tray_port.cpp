#include "app/program_tray_port.h"

#include "app/first_form.h"

namespace snibbet {

void ProgramTrayPort::SetHelpFile(const std::wstring& helpFile) {
  if (TFirstForm* form = FirstForm()) form->HelpRouter().SetHelpFile(helpFile);
}

}  // namespace snibbet
