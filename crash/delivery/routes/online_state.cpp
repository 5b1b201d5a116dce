// \brief Reading the kernel's routing tables for a default route.
#include "crash/delivery/routes/online_state.h"

#include <fstream>
#include <sstream>
#include <string>

namespace kestrix {
namespace {

constexpr unsigned long RouteUp = 0x0001;
constexpr unsigned long RouteReject = 0x0200;

bool IsUsable(const std::string& flags) {
    const unsigned long value = std::stoul(flags, nullptr, 16);
    return (value & RouteUp) != 0 && (value & RouteReject) == 0;
}

// "Iface Destination Gateway Flags ..." with a header line; the default route's destination and
// mask are 0.
bool HasIpv4DefaultRoute(const std::filesystem::path& file) {
    std::ifstream stream(file);
    std::string line;
    std::getline(stream, line);
    while (std::getline(stream, line)) {
        std::istringstream fields(line);
        std::string interface, destination, gateway, flags, references, use, metric, mask;
        if (fields >> interface >> destination >> gateway >> flags >> references >> use >> metric >>
                mask &&
            destination == "00000000" && mask == "00000000" && IsUsable(flags)) {
            return true;
        }
    }
    return false;
}

// "destination prefix-length source source-length next-hop metric references use flags iface".
bool HasIpv6DefaultRoute(const std::filesystem::path& file) {
    std::ifstream stream(file);
    std::string line;
    while (std::getline(stream, line)) {
        std::istringstream fields(line);
        std::string destination, length, source, sourceLength, nextHop, metric, references, use,
            flags;
        if (fields >> destination >> length >> source >> sourceLength >> nextHop >> metric >>
                references >> use >> flags &&
            destination == std::string(32, '0') && length == "00" && IsUsable(flags)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool AmOnline(const std::filesystem::path& ipv4Routes, const std::filesystem::path& ipv6Routes) {
    try {
        return HasIpv4DefaultRoute(ipv4Routes) || HasIpv6DefaultRoute(ipv6Routes);
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace kestrix
