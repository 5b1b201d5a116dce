// A received mail as Python's standard MIME parser reads it.
#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>

namespace kestrix::test {

// Fails the test (and gives null) when the parser cannot read the file.
nlohmann::json ReadMail(const std::filesystem::path& file);

// The lines of the peer's dialogue.txt in the folder.
std::vector<std::string> DialogueLines(const std::filesystem::path& folder);

}  // namespace kestrix::test
