// \brief Formatted input with the C library's rules, over an InputStream and independent of the
// process locale.
//
// A format holds three kinds of directives, processed in order:
//  - a white-space character matches any run of white space in the input, including none;
//  - "%lf", "%f" and "%d" skip white space and convert a double, a single or an int32 into the next
//    target;
//  - any other character must equal the next input character.
// Processing stops at the first directive that fails. A character that does not match stays unread;
// the characters of a number that turns out malformed ("1e+" before a letter) are consumed, as with
// the C library's single character of pushback. Targets not yet converted keep their values.
//
// Numbers are written in decimal C notation only: optional sign, digits with an optional ".",
// optional exponent. Hexadecimal, "inf" and "nan" are not numbers in the instrument's files.
// A number beyond the range of its target raises EOverflow (a single or double would otherwise
// hold an infinity); an int32 out of range is a conversion that fails, leaving its target as it
// was.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <variant>

#include "data/input_stream.h"

namespace gatool {

using ScanTarget = std::variant<double*, float*, std::int32_t*>;

inline constexpr int ScanEndOfInput = -1;

// Returns how many targets were converted, or ScanEndOfInput when the input ended before the first
// conversion. Each conversion in the format must have a target of its type, in order.
int ScanFormat(InputStream& in, std::string_view format, std::initializer_list<ScanTarget> targets);

// The same as ScanFormat(in, "%f", {&target}), without interpreting a format: the reader calls it
// for every number of a scan block.
int ScanSingle(InputStream& in, float& target);

}  // namespace gatool
