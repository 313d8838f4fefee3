#include "core/form_help.h"

namespace snibbet {

void ShowActiveFormHelp() {}

}  // namespace snibbet
