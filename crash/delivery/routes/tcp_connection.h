// \brief A TCP connection for the mail and upload routes: the host resolved (a numeric address
// first, else a name lookup), every receive bounded by a wait, data sent in pieces of at most
// 1024 bytes.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrix {

class TcpConnection {
  public:
    // Throws std::runtime_error naming the host when it cannot be resolved or reached.
    TcpConnection(const std::string& host, std::uint16_t port, std::chrono::milliseconds wait);
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // False when the peer stopped taking data.
    bool Send(std::string_view bytes);

    // At most 1024 bytes, waiting up to the connection's wait; none on time-out, end or error.
    std::optional<std::string> Receive();

  private:
    int m_socket = -1;
    std::chrono::milliseconds m_wait;
};

}  // namespace kestrix
