// \brief The encoding at the start of an input file: a UTF-8 byte-order mark is passed over, and
// UTF-16 text, which the readers would see as numbers broken by zero bytes, is refused.
#pragma once

#include "data/input_stream.h"

namespace gatool {

// Consumes a UTF-8 byte-order mark at the reading position. Raises EFileFormatError when the text
// there is UTF-16: a UTF-16 byte-order mark, or text whose first characters are each a byte and a
// zero byte (UTF-16 without a mark).
void SkipByteOrderMark(InputStream& in);

}  // namespace gatool
