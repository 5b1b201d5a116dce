// \brief A byte stream over a file or a block of memory, read the way the C library's binary
// streams are read: no newline translation, one character of lookahead.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace gatool {

class InputStream {
  public:
    static constexpr int EndOfFile = -1;
    static constexpr std::size_t DefaultChunkSize = 64 * 1024;
    // Every read from a file asks for at least this many bytes, so that the first chunk holds
    // enough of the file to tell its encoding.
    static constexpr std::size_t MinimumChunkSize = 32;

    // Reads the given bytes.
    static InputStream FromMemory(std::string bytes);
    // Opens a regular file for binary reading, `chunkSize` bytes per read (at least
    // MinimumChunkSize). Raises gatool::Exception naming the file and the reason when it cannot be
    // opened or is not a regular file (a directory, device, FIFO or socket), without ever waiting
    // in the open: a FIFO without a writer is refused, not waited for.
    static InputStream FromFile(const std::filesystem::path& path,
                                std::size_t chunkSize = DefaultChunkSize);

    // The next byte (0..255) without consuming it, or EndOfFile.
    int Peek() {
        if (m_position == m_available && !Refill()) {
            return EndOfFile;
        }
        return static_cast<unsigned char>(m_buffer[m_position]);
    }

    // Consumes and returns the next byte, or EndOfFile.
    int Get() {
        const int byte = Peek();
        if (byte == EndOfFile) {
            return byte;
        }
        ++m_position;
        // CR LF, CR and LF each end one line; the LF of a CR LF pair was counted at its CR.
        if (byte == '\r' || (byte == '\n' && !m_lastWasCarriageReturn)) {
            ++m_line;
        }
        m_lastWasCarriageReturn = byte == '\r';
        return byte;
    }
    // The bytes that can be read without another read from the file, starting at the next byte.
    // Valid until the next Peek or Get.
    std::string_view Buffered() const {
        return {m_buffer.data() + m_position, m_available - m_position};
    }

    // Consumes `count` bytes of Buffered() that hold no line end.
    void Skip(std::size_t count) {
        m_position += count;
        m_lastWasCarriageReturn = false;
    }

    // Line of the next byte, counted from 1; CR LF, CR and LF each end a line.
    long Line() const { return m_line; }

  private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    InputStream() = default;
    bool Refill();

    std::unique_ptr<std::FILE, FileCloser> m_file;
    std::string m_buffer;  // the bytes of a memory stream, or the last chunk read from the file
    std::size_t m_available = 0;  // bytes of m_buffer that hold data
    std::size_t m_position = 0;
    long m_line = 1;
    bool m_lastWasCarriageReturn = false;
};

}  // namespace gatool
