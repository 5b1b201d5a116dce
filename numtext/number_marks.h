// \brief The decimal mark and the digit-grouping mark that every number text uses.
//
// Both marks are process-wide. The program reads them once from the user's locale at start-up,
// before other threads format numbers, and does not re-read them while it runs: a change of the
// user's locale settings takes effect at the next start. Until they are loaded, the marks are "."
// and ",". Each mark is one character, held in UTF-8 because some locales group digits with a
// multi-byte character (fr_FR uses a narrow no-break space).
#pragma once

#include <string>

namespace gatool {

const std::string& DecimalMark();
const std::string& GroupMark();

// Sets both marks; each must be exactly one UTF-8 encoded character (std::invalid_argument if not).
void SetNumberMarks(std::string decimal, std::string group);

// Sets the marks from the numeric category of the user's locale (LC_ALL, LC_NUMERIC or LANG)
// without changing the process locale. A mark that the locale leaves empty, or a locale that
// cannot be loaded, gives "." for the decimal mark and "," for the grouping mark.
void LoadNumberMarksFromUserLocale();

}  // namespace gatool
