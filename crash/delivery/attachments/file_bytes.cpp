// \brief Reading a file whole.
#include "crash/delivery/attachments/file_bytes.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kestrix {

std::string ReadFileBytes(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream.is_open()) {
        throw std::runtime_error("cannot open \"" + file.string() + "\"");
    }
    std::string bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    if (stream.bad()) {
        throw std::runtime_error("cannot read \"" + file.string() + "\"");
    }
    return bytes;
}

}  // namespace kestrix
