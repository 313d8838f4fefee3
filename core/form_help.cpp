#include "core/form_help.h"

namespace snibbet {

void ShowActiveFormHelp() {}

void ShowHelpContext(int) {}

}  // namespace snibbet
