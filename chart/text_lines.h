// \brief Splitting a text into lines, as titles and marks take their text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gatool {

// The lines of `text`: CR LF, CR and LF each end a line, a break at the very end adds no empty
// line, and the empty text has no lines at all.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace gatool
