// \brief Reading a DCF file: the dispersion coefficients c0, c1, c2 of each slit, 18 numbers.
#pragma once

#include "data/ga_test.h"
#include "data/input_stream.h"

namespace gatool {

// Reads 18 numbers separated by any white space into rows 1 to 5 and then row 0 of `table`, c0, c1
// and c2 in each row. Nothing after the 18th number is read. A read that meets something other
// than a number stops there: that entry and every later one keep their values, and no error is
// raised. A number beyond the double range raises EOverflow. A UTF-8 byte-order mark in front is
// skipped; UTF-16 text raises EFileFormatError. Returns how many numbers were read
// (18 for a whole file), so that a front end may point out a short file.
int ReadDcfFile(DispersionCoefficients& table, InputStream& in);

}  // namespace gatool
