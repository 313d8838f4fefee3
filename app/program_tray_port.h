#pragma once
// The tray's port as the program fills it: the default's, with the help file
// handed to the hidden main window's help router.
#include <string>

#include "hub/tray_port.h"

namespace snibbet {

class ProgramTrayPort : public DefaultTrayPort {
 public:
  using DefaultTrayPort::DefaultTrayPort;
  void SetHelpFile(const std::wstring& helpFile) override;
};

}  // namespace snibbet
