// \brief An attachment file's bytes, read whole.
#pragma once

#include <filesystem>
#include <string>

namespace kestrix {

// Throws std::runtime_error naming the file that cannot be opened or read.
std::string ReadFileBytes(const std::filesystem::path& file);

}  // namespace kestrix
