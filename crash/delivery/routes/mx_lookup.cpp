// \brief MX lookups through the configured name servers or from the root down.
#include "crash/delivery/routes/mx_lookup.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>

namespace kestrix {
namespace {

// a.root-servers.net and k.root-servers.net.
const std::vector<DnsServer> RootNameServers{{"198.41.0.4", 53}, {"193.0.14.129", 53}};
constexpr int MaximumReferrals = 10;

std::vector<std::string> Exchangers(const DnsAnswer& answer) {
    std::vector<DnsRecord> records;
    std::copy_if(answer.Answers.begin(), answer.Answers.end(), std::back_inserter(records),
                 [](const DnsRecord& record) {
                     return record.Type == static_cast<std::uint16_t>(DnsType::MX) &&
                            !record.Data.empty();
                 });
    std::stable_sort(records.begin(), records.end(), [](const DnsRecord& a, const DnsRecord& b) {
        return a.Preference < b.Preference;
    });
    std::vector<std::string> hosts;
    for (const DnsRecord& record : records) {
        hosts.push_back(record.Data);
    }
    return hosts;
}

// The first exchangers that one of the servers gives for the domain, else for its shorter form.
std::vector<std::string> AskForExchangers(const std::string& domain,
                                          const std::vector<DnsServer>& servers,
                                          bool recursive,
                                          std::chrono::milliseconds wait) {
    std::vector<std::string> names{domain};
    if (const std::string shorter = ShorterDomain(domain); shorter != domain) {
        names.push_back(shorter);
    }
    for (const std::string& name : names) {
        for (const DnsServer& server : servers) {
            if (const auto answer = QueryDns(server, name, DnsType::MX, recursive, wait)) {
                if (auto hosts = Exchangers(*answer); !hosts.empty()) {
                    return hosts;
                }
            }
        }
    }
    return {};
}

std::vector<std::string> AddressesOf(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0) {
        return {};
    }
    const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> owner(found, freeaddrinfo);
    std::vector<std::string> addresses;
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        char text[INET_ADDRSTRLEN];
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
        if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr) {
            addresses.emplace_back(text);
        }
    }
    return addresses;
}

// The servers that the NS records name: their glue addresses, else their looked-up ones.
std::vector<DnsServer> NamedServers(const std::vector<DnsRecord>& records,
                                    const std::vector<DnsRecord>& additional) {
    std::vector<DnsServer> servers;
    for (const DnsRecord& record : records) {
        if (record.Type != static_cast<std::uint16_t>(DnsType::NS)) {
            continue;
        }
        bool glued = false;
        for (const DnsRecord& glue : additional) {
            if (glue.Type == static_cast<std::uint16_t>(DnsType::A) && glue.Name == record.Data) {
                servers.push_back({glue.Data, 53});
                glued = true;
            }
        }
        if (!glued) {
            for (std::string& address : AddressesOf(record.Data)) {
                servers.push_back({std::move(address), 53});
            }
        }
    }
    return servers;
}

// From the root servers down the referrals to the servers of the domain.
std::vector<DnsServer> DomainServersFromRoots(const std::string& domain,
                                              const std::vector<DnsServer>& roots,
                                              std::chrono::milliseconds wait) {
    std::vector<DnsServer> servers = roots;
    for (int referral = 0; referral <= MaximumReferrals && !servers.empty(); ++referral) {
        std::optional<DnsAnswer> answer;
        std::optional<DnsServer> answering;
        for (const DnsServer& server : servers) {
            if ((answer = QueryDns(server, domain, DnsType::NS, false, wait))) {
                answering = server;
                break;
            }
        }
        if (!answer) {
            return {};
        }
        if (auto found = NamedServers(answer->Answers, answer->Additional); !found.empty()) {
            return found;
        }
        std::vector<DnsServer> referred = NamedServers(answer->Authority, answer->Additional);
        if (referred.empty()) {
            // Neither servers nor a referral: the domain is no zone of its own, and the server
            // that answered holds it.
            return {*answering};
        }
        servers = std::move(referred);
    }
    return {};
}

}  // namespace

std::vector<DnsServer> ConfiguredNameServers(const std::filesystem::path& resolverFile) {
    std::ifstream stream(resolverFile);
    std::vector<DnsServer> servers;
    for (std::string line; std::getline(stream, line);) {
        std::istringstream words(line);
        std::string keyword;
        std::string address;
        in_addr parsed{};
        if (words >> keyword >> address && keyword == "nameserver" &&
            inet_pton(AF_INET, address.c_str(), &parsed) == 1) {
            servers.push_back({address, 53});
        }
    }
    return servers;
}

std::string RecipientDomain(std::string_view address) {
    const std::size_t at = address.rfind('@');
    std::string_view domain = at == std::string_view::npos ? address : address.substr(at + 1);
    if (!domain.empty() && domain.back() == '>') {
        domain.remove_suffix(1);
    }
    return std::string(domain);
}

std::string ShorterDomain(std::string_view domain) {
    std::size_t start = domain.size();
    for (int dots = 0; dots < 3; ++dots) {
        const std::size_t dot = start == 0 ? std::string_view::npos : domain.rfind('.', start - 1);
        if (dot == std::string_view::npos) {
            return std::string(domain);
        }
        start = dot;
    }
    return std::string(domain.substr(start + 1));
}

std::vector<std::string> MxLookup(std::string_view recipient,
                                  const std::vector<DnsServer>& servers,
                                  std::chrono::milliseconds wait) {
    const std::string domain = RecipientDomain(recipient);
    if (domain.empty()) {
        return {};
    }
    if (!servers.empty()) {
        return AskForExchangers(domain, servers, true, wait);
    }
    return MxLookupFromRoots(recipient, RootNameServers, wait);
}

std::vector<std::string> MxLookupFromRoots(std::string_view recipient,
                                           const std::vector<DnsServer>& roots,
                                           std::chrono::milliseconds wait) {
    const std::string domain = RecipientDomain(recipient);
    if (domain.empty()) {
        return {};
    }
    return AskForExchangers(domain, DomainServersFromRoots(ShorterDomain(domain), roots, wait),
                            false, wait);
}

std::vector<std::string> MxLookup(std::string_view recipient) {
    return MxLookup(recipient, ConfiguredNameServers());
}

}  // namespace kestrix
