#pragma once
// The folder of the running executable, ending in "\".
#include <string>

namespace snibbet {

std::wstring ProgramFolder();

}  // namespace snibbet
