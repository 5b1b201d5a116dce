// \brief The rendered bug report read back into its header fields and its sections, for the
// details view: header lines "name ... : content" up to the first empty line, then per section an
// empty line, its name (with ":" unless the name holds one) and its lines ("." for an empty one).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kestrix {

struct ReportTextFields {
    std::vector<std::pair<std::string, std::string>> Header;
    std::vector<std::pair<std::string, std::string>> Sections;  // content lines joined by "\n"
};

ReportTextFields ReadReportText(const std::string& report);

}  // namespace kestrix
