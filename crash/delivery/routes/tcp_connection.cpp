// \brief Connecting, sending and receiving with waits.
#include "crash/delivery/routes/tcp_connection.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <stdexcept>

namespace kestrix {
namespace {

constexpr std::size_t PieceSize = 1024;

bool WaitFor(int socket, short events, std::chrono::milliseconds wait) {
    pollfd entry{socket, events, 0};
    for (;;) {
        const int ready = poll(&entry, 1, static_cast<int>(wait.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        return ready > 0;
    }
}

// A non-blocking connect bounded by the wait; the descriptor or -1.
int ConnectTo(const addrinfo& address, std::chrono::milliseconds wait) {
    const int socket = ::socket(
        address.ai_family, address.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, address.ai_protocol);
    if (socket < 0) {
        return -1;
    }
    if (connect(socket, address.ai_addr, address.ai_addrlen) != 0 && errno != EINPROGRESS) {
        close(socket);
        return -1;
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (!WaitFor(socket, POLLOUT, wait) ||
        getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
        close(socket);
        return -1;
    }
    return socket;
}

}  // namespace

TcpConnection::TcpConnection(const std::string& host,
                             std::uint16_t port,
                             std::chrono::milliseconds wait)
    : m_wait(wait) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0) {
        hints.ai_flags = AI_NUMERICSERV;
        if (const int error = getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
            error != 0) {
            throw std::runtime_error("cannot resolve \"" + host + "\": " + gai_strerror(error));
        }
    }
    const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> addresses(found, freeaddrinfo);
    for (const addrinfo* address = found; address != nullptr && m_socket < 0;
         address = address->ai_next) {
        m_socket = ConnectTo(*address, wait);
    }
    if (m_socket < 0) {
        throw std::runtime_error("cannot connect to \"" + host + "\" on port " + service);
    }
}

TcpConnection::~TcpConnection() {
    close(m_socket);
}

bool TcpConnection::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        if (!WaitFor(m_socket, POLLOUT, m_wait)) {
            return false;
        }
        const ssize_t sent =
            send(m_socket, bytes.data(), std::min(bytes.size(), PieceSize), MSG_NOSIGNAL);
        if (sent < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

std::optional<std::string> TcpConnection::Receive() {
    for (;;) {
        if (!WaitFor(m_socket, POLLIN, m_wait)) {
            return std::nullopt;
        }
        char buffer[PieceSize];
        const ssize_t count = recv(m_socket, buffer, sizeof buffer, 0);
        if (count < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (count <= 0) {
            return std::nullopt;
        }
        return std::string(buffer, static_cast<std::size_t>(count));
    }
}

}  // namespace kestrix
