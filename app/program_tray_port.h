#pragma once
// The tray's port as the program fills it: the default's, with the help file
// handed to the hidden main window's help router and the About box on the
// program's settings.
#include <string>

#include "hub/tray_port.h"

namespace snibbet {

class ProgramTrayPort : public DefaultTrayPort {
 public:
  ProgramTrayPort(DialogParts& parts, SettingsFormSystem& system) : DefaultTrayPort(parts, system), parts_(parts) {}
  void OpenAbout() override;
  void SetHelpFile(const std::wstring& helpFile) override;

 private:
  const DialogParts& parts_;
};

}  // namespace snibbet
