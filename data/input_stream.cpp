// \brief Byte stream over a file or memory; see input_stream.h.
#include "data/input_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "base/exceptions.h"

namespace gatool {

namespace {

// What a file that is not a regular file is, for the message that refuses it.
const char* NonRegularKind(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a directory";
    }
    if (S_ISFIFO(mode)) {
        return "a FIFO (named pipe)";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    if (S_ISCHR(mode)) {
        return "a character device";
    }
    if (S_ISBLK(mode)) {
        return "a block device";
    }
    return "not a file";
}

[[noreturn]] void ThrowCannotOpen(const std::filesystem::path& path, const std::string& reason) {
    throw Exception("Cannot open \"" + path.string() + "\": " + reason);
}

void RefuseUnlessRegular(const std::filesystem::path& path, mode_t mode) {
    if (!S_ISREG(mode)) {
        ThrowCannotOpen(path,
                        std::string("it is ") + NonRegularKind(mode) + ", not a regular file");
    }
}

}  // namespace

InputStream InputStream::FromMemory(std::string bytes) {
    InputStream stream;
    stream.m_buffer = std::move(bytes);
    stream.m_available = stream.m_buffer.size();
    return stream;
}

InputStream InputStream::FromFile(const std::filesystem::path& path, std::size_t chunkSize) {
    // A socket cannot be opened at all, so its kind is named from stat; the check after the open
    // covers a file replaced in between. O_NONBLOCK keeps the open of a FIFO from waiting for a
    // writer; reads of a regular file do not heed it.
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        RefuseUnlessRegular(path, status.st_mode);
    }
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        ThrowCannotOpen(path, std::strerror(errno));
    }
    InputStream stream;
    stream.m_file.reset(::fdopen(descriptor, "rb"));
    if (!stream.m_file) {
        const int error = errno;
        ::close(descriptor);
        ThrowCannotOpen(path, std::strerror(error));
    }
    if (::fstat(descriptor, &status) != 0) {
        ThrowCannotOpen(path, std::strerror(errno));
    }
    RefuseUnlessRegular(path, status.st_mode);
    stream.m_buffer.resize(std::max(chunkSize, MinimumChunkSize));
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
