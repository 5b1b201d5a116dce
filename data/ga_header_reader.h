// \brief Reading the header of a GA file: integration time, dead time, cy, the date, a text line,
// three values and "pr".
#pragma once

#include <string>

#include "data/ga_test.h"
#include "data/input_stream.h"

namespace gatool {

inline constexpr long LongestTextLine = 1L << 20;

// Reads up to a CR, an LF or the end of the file, none of which is kept; an LF right after the
// terminator is consumed too. Keeps at most LineBuffer - 1 characters: the rest of a longer line is
// read and dropped, so that the values after it are read from the next line as usual. A line longer
// than LongestTextLine, far more than a whole GA file holds, raises EFileFormatError instead of
// being read on.
std::string ReadTextLine(InputStream& in);

// Reads the six header lines into `header`. A line that does not match its format leaves its fields
// as they were, and the next line is read from the character that did not match. A "dh" line that
// does not give all three numbers leaves the test without a date; one that gives an impossible date
// raises EConvertError "Invalid argument to date encode".
void ReadGaHeader(GaHeader& header, InputStream& in);

}  // namespace gatool
