// \brief The listing of the disassembly as lines: the source-line column and the cut to the
// lines around the marked one.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrix {

struct TDisAsmLine {
    std::uintptr_t Address = 0;
    std::string Text;     // what follows the address and its blank
    bool Spacer = false;  // a line that holds only the address
};

inline constexpr const char* LeftOutText = "[...]";

// The source line of an address; 0 when none is known.
using LineOfAddress = std::function<std::int32_t(std::uintptr_t)>;

// Each line as its address and text. With a column width above 0, every line after the address
// gets the source line's number, zero-padded to the width, where the source line changes, and
// width + 1 blanks otherwise; spacer lines stay as they are.
std::vector<std::string> ListingTexts(const std::vector<TDisAsmLine>& lines,
                                      const LineOfAddress& lineOf,
                                      int columnWidth);

// With limit above 0 and a marked line: when more than limit * 12 / 10 lines lead up to and
// include the marked one, only the limit lines before it stay, after "[...]"; at most limit lines
// follow it, and "[...]" ends the listing when any were left out.
std::vector<std::string> LimitListing(std::vector<std::string> texts,
                                      std::optional<std::size_t> marked,
                                      int limit);

}  // namespace kestrix
