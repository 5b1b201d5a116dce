// \brief The notes `gatool analyze` adds to a load that ended without a failure: what of the file
// was not loaded, and why.
#pragma once

#include <string>
#include <vector>

#include "app/load_flows.h"

namespace gatool {

// Notes on how far the GA load got, given its outcome and the scans loaded (LastScan + 1): a file
// with more blocks than records, one that goes on unread after the blocks read, one without any
// block.
std::vector<std::string> GaLoadNotes(const GaLoadOutcome& outcome, int scansLoaded);

// The note on a DCF file of which only `numbersRead` (< 18) numbers could be read.
std::string ShortDcfNote(int numbersRead);

}  // namespace gatool
