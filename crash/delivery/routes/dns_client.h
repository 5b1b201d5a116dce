// \brief A small DNS client over UDP: one question to one server, and the records of its answer,
// authority and additional sections (names decompressed, bounds checked).
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

enum class DnsType : std::uint16_t { A = 1, NS = 2, MX = 15 };

struct DnsRecord {
    std::string Name;
    std::uint16_t Type = 0;
    // MX: the preference.
    std::uint16_t Preference = 0;
    // NS and MX: the host named; A: the address in dotted form.
    std::string Data;
};

struct DnsAnswer {
    // 0: no error, 3: no such name.
    std::uint16_t ResponseCode = 0;
    std::vector<DnsRecord> Answers;
    std::vector<DnsRecord> Authority;
    std::vector<DnsRecord> Additional;
};

struct DnsServer {
    std::string Address;
    std::uint16_t Port = 53;
};

std::string BuildDnsQuery(std::uint16_t id, std::string_view name, DnsType type, bool recursive);

// None for a reply that is not the answer to that question or is damaged; an answer with its
// response code when the server could not answer.
std::optional<DnsAnswer> ParseDnsReply(std::string_view reply, std::uint16_t id);

// None when the server does not answer within the wait.
std::optional<DnsAnswer> QueryDns(const DnsServer& server,
                                  std::string_view name,
                                  DnsType type,
                                  bool recursive,
                                  std::chrono::milliseconds wait);

}  // namespace kestrix
