// \brief Each part of the report is produced under its own guard: a failure in it replaces only
// that part's text, by ">> internal error in " the part's name, ":", a line break and the address
// text of the place that asked for the part.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kestrix {

std::string GuardedPartText(std::string_view partName,
                            const std::function<std::string()>& produce,
                            bool showRelAddrs,
                            bool showRelLines);

}  // namespace kestrix
