// \brief DNS queries and the parsing of their replies.
#include "crash/delivery/routes/dns_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <random>

namespace kestrix {
namespace {

constexpr std::uint16_t ClassInternet = 1;

void AppendU16(std::string& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<char>(value >> 8));
    bytes.push_back(static_cast<char>(value & 0xFF));
}

class ReplyReader {
  public:
    explicit ReplyReader(std::string_view reply) : m_reply(reply) {}

    bool U16(std::uint16_t& value) {
        if (m_offset + 2 > m_reply.size()) {
            return false;
        }
        value = static_cast<std::uint16_t>((Byte(m_offset) << 8) | Byte(m_offset + 1));
        m_offset += 2;
        return true;
    }

    bool Skip(std::size_t count) {
        if (m_offset + count > m_reply.size()) {
            return false;
        }
        m_offset += count;
        return true;
    }

    // A name, following compression pointers (a bounded number of them).
    bool Name(std::string& name) {
        name.clear();
        std::size_t offset = m_offset;
        bool jumped = false;
        for (int jumps = 0; jumps < 64;) {
            if (offset >= m_reply.size()) {
                return false;
            }
            const unsigned length = Byte(offset);
            if (length == 0) {
                if (!jumped) {
                    m_offset = offset + 1;
                }
                return true;
            }
            if ((length & 0xC0) == 0xC0) {
                if (offset + 1 >= m_reply.size()) {
                    return false;
                }
                if (!jumped) {
                    m_offset = offset + 2;
                }
                offset = ((length & 0x3F) << 8) | Byte(offset + 1);
                jumped = true;
                ++jumps;
                continue;
            }
            if ((length & 0xC0) != 0 || offset + 1 + length > m_reply.size()) {
                return false;
            }
            name.append(name.empty() ? "" : ".").append(m_reply.substr(offset + 1, length));
            offset += 1 + length;
        }
        return false;
    }

    bool Record(DnsRecord& record) {
        std::uint16_t type = 0;
        std::uint16_t recordClass = 0;
        std::uint16_t length = 0;
        if (!Name(record.Name) || !U16(type) || !U16(recordClass) || !Skip(4) || !U16(length) ||
            m_offset + length > m_reply.size()) {
            return false;
        }
        record.Type = type;
        const std::size_t end = m_offset + length;
        bool ok = true;
        if (type == static_cast<std::uint16_t>(DnsType::MX)) {
            ok = U16(record.Preference) && Name(record.Data);
        } else if (type == static_cast<std::uint16_t>(DnsType::NS)) {
            ok = Name(record.Data);
        } else if (type == static_cast<std::uint16_t>(DnsType::A) && length == 4) {
            record.Data =
                std::to_string(Byte(m_offset)) + "." + std::to_string(Byte(m_offset + 1)) + "." +
                std::to_string(Byte(m_offset + 2)) + "." + std::to_string(Byte(m_offset + 3));
        }
        m_offset = end;
        return ok;
    }

  private:
    unsigned Byte(std::size_t offset) const { return static_cast<unsigned char>(m_reply[offset]); }

    std::string_view m_reply;
    std::size_t m_offset = 0;
};

bool ReadRecords(ReplyReader& reader, std::uint16_t count, std::vector<DnsRecord>& records) {
    for (std::uint16_t i = 0; i < count; ++i) {
        DnsRecord record;
        if (!reader.Record(record)) {
            return false;
        }
        records.push_back(std::move(record));
    }
    return true;
}

}  // namespace

std::string BuildDnsQuery(std::uint16_t id, std::string_view name, DnsType type, bool recursive) {
    std::string query;
    AppendU16(query, id);
    AppendU16(query, recursive ? 0x0100 : 0);
    AppendU16(query, 1);
    AppendU16(query, 0);
    AppendU16(query, 0);
    AppendU16(query, 0);
    while (!name.empty()) {
        const std::size_t dot = name.find('.');
        const std::string_view label = name.substr(0, dot);
        if (!label.empty() && label.size() < 64) {
            query.push_back(static_cast<char>(label.size()));
            query.append(label);
        }
        name = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
    }
    query.push_back('\0');
    AppendU16(query, static_cast<std::uint16_t>(type));
    AppendU16(query, ClassInternet);
    return query;
}

std::optional<DnsAnswer> ParseDnsReply(std::string_view reply, std::uint16_t id) {
    ReplyReader reader(reply);
    std::uint16_t replyId = 0;
    std::uint16_t flags = 0;
    std::uint16_t questions = 0;
    std::uint16_t answers = 0;
    std::uint16_t authority = 0;
    std::uint16_t additional = 0;
    if (!reader.U16(replyId) || !reader.U16(flags) || !reader.U16(questions) ||
        !reader.U16(answers) || !reader.U16(authority) || !reader.U16(additional) ||
        replyId != id || (flags & 0x8000) == 0) {
        return std::nullopt;
    }
    DnsAnswer answer;
    answer.ResponseCode = flags & 0x000F;
    if (answer.ResponseCode != 0) {
        return answer;
    }
    for (std::uint16_t i = 0; i < questions; ++i) {
        std::string name;
        if (!reader.Name(name) || !reader.Skip(4)) {
            return std::nullopt;
        }
    }
    if (!ReadRecords(reader, answers, answer.Answers) ||
        !ReadRecords(reader, authority, answer.Authority) ||
        !ReadRecords(reader, additional, answer.Additional)) {
        return std::nullopt;
    }
    return answer;
}

std::optional<DnsAnswer> QueryDns(const DnsServer& server,
                                  std::string_view name,
                                  DnsType type,
                                  bool recursive,
                                  std::chrono::milliseconds wait) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(server.Port);
    if (inet_pton(AF_INET, server.Address.c_str(), &address.sin_addr) != 1) {
        return std::nullopt;
    }
    const int socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (socket < 0) {
        return std::nullopt;
    }
    const auto id = static_cast<std::uint16_t>(std::random_device{}());
    const std::string query = BuildDnsQuery(id, name, type, recursive);
    std::optional<DnsAnswer> answer;
    if (connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        send(socket, query.data(), query.size(), 0) == static_cast<ssize_t>(query.size())) {
        const auto deadline = std::chrono::steady_clock::now() + wait;
        while (!answer) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd entry{socket, POLLIN, 0};
            if (left.count() <= 0 || poll(&entry, 1, static_cast<int>(left.count())) <= 0) {
                break;
            }
            char reply[4096];
            const ssize_t count = recv(socket, reply, sizeof reply, 0);
            if (count <= 0) {
                break;
            }
            // A stray datagram with another id is passed over.
            answer = ParseDnsReply(std::string_view(reply, static_cast<std::size_t>(count)), id);
        }
    }
    close(socket);
    return answer;
}

}  // namespace kestrix
