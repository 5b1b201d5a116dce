// \brief Text of a number without a pattern, with up to 15 significant digits: "1234.5",
// "0.0001", "1E-5", "1E15", "-INF", "NAN". Uses DecimalMark.
#pragma once

#include <string>

#include "base/float_faults.h"

namespace gatool {

std::string FloatToGeneralText(Extended value);

}  // namespace gatool
