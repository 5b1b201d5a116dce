// \brief Text of a number laid out by a pattern such as "0.#####", "#,##0.00" or "0.00E+00".
//
// A pattern has up to three sections separated by ";" (outside quotes): for positive values, for
// negative values (including -0) and for zero; a missing or empty section falls back to the
// first. In a section, "0" is a digit placeholder that forces a digit, "#" one that shows only a
// significant digit, the first "." places the decimal point, a "," anywhere turns on thousands
// grouping, "E+", "E-", "e+" and "e-" with the zeros after them give scientific notation, and
// quoted text and every other character (also "%", which does not scale) are output as they
// stand. DecimalMark and GroupMark are output for the point and the grouping. Values that the
// pattern cannot lay out (infinities, NaNs, 10^18 and more without an exponent marker, an empty
// pattern) come out as FloatToGeneralText.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/float_faults.h"

namespace gatool {

inline constexpr std::size_t MaxPatternLength = 224;

// Raises EConvertError "Format string too long" for a pattern longer than MaxPatternLength bytes.
std::string FloatToPatternText(std::string_view pattern, Extended value);

}  // namespace gatool
