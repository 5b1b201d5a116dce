// \brief The clipboard and the save-file dialog of delivery, on Qt.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

class QWidget;

namespace kestrix {

// Replaces the clipboard's contents with the text (plain text).
void FillClipboard(const std::string& text);

// The save-file dialog: starting in the folder with the name filled in, filter "*.txt", titled,
// no question about overwriting (a report is added to the file); none when cancelled.
std::optional<std::filesystem::path> ChooseReportFile(QWidget* parent,
                                                      const std::filesystem::path& folder,
                                                      const std::string& name,
                                                      const std::string& title);

}  // namespace kestrix
