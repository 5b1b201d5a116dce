// \brief What `gatool analyze` prints for one GA file: as text for a person, or as one line of
// JSON for a program.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "app/load_flows.h"

namespace gatool {

struct FileAnalysis {
    std::string File;
    const ToolState& State;
    GaLoadOutcome Outcome;
    std::optional<std::string> Failure;  // the message of a load that failed
};

// Results to `out`; a failure's message and the scans read before it to `err`.
void PrintTextReport(const FileAnalysis& analysis, std::ostream& out, std::ostream& err);

// One JSON object on one line to `out`, failures included.
void PrintJsonReport(const FileAnalysis& analysis, std::ostream& out);

}  // namespace gatool
