// \brief Hand-built form streams for the reader's tests, byte by byte, independent of the writer.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace kestrix::testing {

class StreamBytes {
  public:
    StreamBytes& Raw(std::initializer_list<std::uint8_t> bytes) {
        m_bytes.insert(m_bytes.end(), bytes);
        return *this;
    }
    StreamBytes& Text(std::string_view text) {
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        return *this;
    }
    StreamBytes& Short(std::string_view text) {
        m_bytes.push_back(std::uint8_t(text.size()));
        return Text(text);
    }
    // "TPF0", class and object name.
    StreamBytes& Header(std::string_view className, std::string_view name) {
        return Text("TPF0").Short(className).Short(name);
    }

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

  private:
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace kestrix::testing
