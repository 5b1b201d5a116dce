// \brief The CSV output of `gatool analyze` for spreadsheets: one header row for the whole run,
// then per file one row per scan and slit and one per CI point, every number in the shortest text
// that reads back to the same value.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "app/load_flows.h"

namespace gatool {

void PrintCsvHeader(std::ostream& out);

// The rows of one file whose load ran to its end: the peaks of scans 0 to scanCount - 1 (kind
// "peak"), then the CI points of slit 1 and of slit 5 (kind "ci"). Every row carries the file and
// GS and GI.
void PrintCsvRows(const std::string& file,
                  const ToolState& state,
                  int scanCount,
                  std::ostream& out);

// A field as CSV holds it: quoted, with its quotes doubled, when it holds a comma, a quote, a line
// end or leading or trailing blanks.
std::string CsvField(std::string_view text);

}  // namespace gatool
