// \brief Saving a failure's report: interactively (the save-file dialog when the report file name
// is not absolute) or automatically (beside the executable or in the state folder). A failure
// whose report was saved already is not saved or counted again in the same file.
#pragma once

#include <filesystem>

#include "crash/core/ikx_exception.h"
#include "crash/delivery/delivery_windows.h"

namespace kestrix {

// Whether the report is in the file; false when the dialog was cancelled or nothing could be
// written.
bool SaveBugReport(IKXException& failure, IDeliveryWindows& windows);

bool AutoSaveBugReport(IKXException& failure);

// Into that file, whatever the settings' name.
bool SaveBugReportTo(IKXException& failure, const std::filesystem::path& file);

// The report file where the settings say it lies: the failure's saved file, else the settings'
// file beside the executable or, when only that one exists, in the state folder.
std::filesystem::path SavedReportFileOf(const IKXException& failure);

}  // namespace kestrix
