// \brief `gatool analyze`: the analysis of GA files on the command line, without a window.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace gatool {

// Runs `gatool analyze` with the arguments after "analyze". Writes results to `out`, usage errors
// and load failures to `err`. Returns the process exit status: 0 when every file was analysed, 1
// when a file failed or gave no fit of GS and GI, 2 for a usage error.
int RunAnalyzeCommand(std::span<const std::string_view> arguments,
                      std::ostream& out,
                      std::ostream& err);

}  // namespace gatool
