// \brief Byte stream over a file or memory; see input_stream.h.
#include "data/input_stream.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "base/exceptions.h"

namespace gatool {

namespace {
constexpr std::size_t ChunkSize = 64 * 1024;
}

InputStream InputStream::FromMemory(std::string bytes) {
    InputStream stream;
    stream.m_buffer = std::move(bytes);
    stream.m_available = stream.m_buffer.size();
    return stream;
}

InputStream InputStream::FromFile(const std::filesystem::path& path) {
    InputStream stream;
    stream.m_file.reset(std::fopen(path.c_str(), "rb"));
    if (!stream.m_file) {
        throw Exception("Cannot open \"" + path.string() + "\": " + std::strerror(errno));
    }
    stream.m_buffer.resize(ChunkSize);
    return stream;
}

bool InputStream::Refill() {
    if (!m_file) {
        return false;
    }
    const std::size_t count = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file.get());
    if (std::ferror(m_file.get())) {
        throw Exception(std::string("Cannot read the file: ") + std::strerror(errno));
    }
    m_available = count;
    m_position = 0;
    return count > 0;
}

}  // namespace gatool
