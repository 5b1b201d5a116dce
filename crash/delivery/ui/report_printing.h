// \brief Printing a report: "Courier New" at 8 points, margins of 2 cm left, 1 cm right, top and
// bottom from the paper's edge, each report line word-wrapped (an empty line as one blank), a new
// page when a line no longer fits.
#pragma once

#include <string>

class QPrinter;
class QWidget;

namespace kestrix {

class IKXSettings;

// Prints onto a printer that is set up already; the number of pages.
int PrintReportPages(QPrinter& printer, const std::string& report);

// The print dialog chooses the printer; the document is named `PrintBtnTxt`. False when the
// dialog was cancelled or nothing could be printed.
bool PrintBugReport(const std::string& report, QWidget* parent, const IKXSettings& settings);

}  // namespace kestrix
