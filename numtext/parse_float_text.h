// \brief Reading of a number that the operator typed, with the locale's decimal mark.
#pragma once

#include <string_view>

#include "base/float_faults.h"

namespace gatool {

// Reads: spaces (not tabs), an optional "+" or "-", digits with an optional DecimalMark and more
// digits (at least one digit or the mark; the mark alone reads as 0), an optional exponent ("E" or
// "e", an optional sign, digits; none means 0, and reading stops once the exponent reaches 500),
// spaces, and the end of the text. GroupMark is never accepted. The value is the text's exact
// value correctly rounded to extended precision; values below the extended range become denormals
// or zero. Malformed text and values beyond the extended range raise EConvertError
// "'<text>' is not a valid floating point value", quoting the whole text.
Extended ParseFloatText(std::string_view text);

}  // namespace gatool
