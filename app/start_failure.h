#pragma once
// The last word of a start that cannot go on: told in a box and on the
// standard error stream, since a start without a display can show no box.
#include <exception>
#include <string>
#include <string_view>

namespace snibbet {

// "Orvane Paste cannot start: <reason>"; the box's caption is the title.
void ReportStartFailure(std::wstring_view reason);

// The reason for a failure that ended the start: the system's words for it,
// and what is missing when the program could make no window at all.
std::wstring StartFailureReason(const std::exception& error, bool noWindowPossible);

}  // namespace snibbet
