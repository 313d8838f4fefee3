#pragma once
// The user's locale texts for the date-and-time tag, from the system.
#include <windows.h>

#include <string>
#include <string_view>

#include "templates/tag_date_format.h"
#include "templates/tag_pattern_formats.h"

namespace snibbet {

// `time` with the user's month and day names, separators, markers and the
// system's short and long date and time renderings of it.
DateTimeContext DateTimeContextFor(const SYSTEMTIME& time);

// The same for the present local time.
DateTimeContext CurrentDateTimeContext();

// The user's long and short date and long time pictures, separators and
// markers as the system keeps them now.
SystemDateTimePictures CurrentSystemPictures();

}  // namespace snibbet
