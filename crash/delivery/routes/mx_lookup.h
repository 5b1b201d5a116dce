// \brief Finding a recipient's mail exchangers: its domain (the text after "@") asked for MX
// records, then its shorter domain (the last three labels). The name servers are those of
// /etc/resolv.conf; without any, the referrals from two root name servers are followed to the
// domain's own servers.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "crash/delivery/routes/dns_client.h"

namespace kestrix {

// The IPv4 "nameserver" lines of the resolver file.
std::vector<DnsServer> ConfiguredNameServers(
    const std::filesystem::path& resolverFile = "/etc/resolv.conf");

// The text after "@", a trailing ">" removed.
std::string RecipientDomain(std::string_view address);

// The last three labels of the domain.
std::string ShorterDomain(std::string_view domain);

// The exchangers' host names by preference, lowest first; empty when none was found.
std::vector<std::string> MxLookup(std::string_view recipient,
                                  const std::vector<DnsServer>& servers,
                                  std::chrono::milliseconds wait = std::chrono::seconds(7));

std::vector<std::string> MxLookup(std::string_view recipient);

// Without configured name servers: from the root servers given down the referrals (at most ten)
// to the servers of the shorter domain, which are asked for the exchangers.
std::vector<std::string> MxLookupFromRoots(std::string_view recipient,
                                           const std::vector<DnsServer>& roots,
                                           std::chrono::milliseconds wait);

}  // namespace kestrix
