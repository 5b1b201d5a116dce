// \brief Zip archives of attachments: a standard zip file (PKWARE's format, no ZIP64) whose
// entries are deflated with zlib, each under the name it is sent as.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kestrix {

struct ZipEntry {
    std::filesystem::path File;
    // The name inside the archive.
    std::string Name;
};

// Writes the archive, replacing a file of that name; throws std::runtime_error naming the file
// that could not be read or written, or an entry too large for a zip without ZIP64.
void WriteZipArchive(const std::filesystem::path& archive, const std::vector<ZipEntry>& entries);

}  // namespace kestrix
