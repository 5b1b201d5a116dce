// \brief What `gatool analyze` prints for one GA file: as text for a person, as one line of JSON
// for a program, or as CSV rows for a spreadsheet.
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
    std::optional<std::string> DcfFile;  // loaded before the GA file
    int DcfNumbersRead = 0;              // of the DCF file's 18 numbers
};

// Results and notes to `out`; a failure's message, where it struck and the scans read before it,
// or NoFitFailure, to `err`.
void PrintTextReport(const FileAnalysis& analysis, std::ostream& out, std::ostream& err);

// One JSON object on one line to `out`, failures included: a failed load's, and NoFitFailure.
void PrintJsonReport(const FileAnalysis& analysis, std::ostream& out);

// The CSV rows to `out` (the header is the caller's, once for all files); the notes and what
// PrintTextReport writes to `err`, to `err`.
void PrintCsvReport(const FileAnalysis& analysis, std::ostream& out, std::ostream& err);

// For a load that ran to its end: the failure of a file from which GS and GI could not be fitted
// (no scan, too few scans, no slit checked) and that were not typed with --manual. A batch run
// counts such a file as failed.
std::optional<std::string> NoFitFailure(const FileAnalysis& analysis);

}  // namespace gatool
