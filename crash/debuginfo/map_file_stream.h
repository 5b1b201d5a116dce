// \brief The plain stream inside the debug-information container, little-endian:
//
// 1. segments: 32-bit count, then per segment the start offset and the length (32 bits each) and
//    the unit name as packed string (minimal information: one byte, the line-number flag);
// 2. public symbols: 32-bit count, then per symbol the name as packed string (not with minimal
//    information) and the offset: the first as 32 bits, every further one as a packed difference;
// 3. line table: 32-bit count, the first entry as line and offset (32 bits each), every further
//    one as packed differences of line and offset;
// 4. when exactly 4 bytes remain: the entry point's offset.
//
// All offsets are from the module's base of code. A full stream has no line flag: a segment has
// line numbers when an entry of the line table lies inside it.
#pragma once

#include <string>
#include <string_view>

#include "crash/debuginfo/map_file_content.h"

namespace kestrix {

std::string WriteMapFileStream(const MapFileContent& content, bool minimal);

// Throws DebugInfoFormatError on a stream that ends early or holds more than its tables. The
// stream itself becomes the content's name pool, so that reading copies no name.
MapFileContent ReadMapFileStream(std::string&& stream, bool minimal);
MapFileContent ReadMapFileStream(std::string_view stream, bool minimal);

}  // namespace kestrix
