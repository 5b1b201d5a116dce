// \brief Whether the computer is online: it has a usable default route (IPv4 or IPv6). A system
// whose routing tables cannot be read counts as offline.
#pragma once

#include <filesystem>

namespace kestrix {

bool AmOnline(const std::filesystem::path& ipv4Routes = "/proc/net/route",
              const std::filesystem::path& ipv6Routes = "/proc/net/ipv6_route");

}  // namespace kestrix
