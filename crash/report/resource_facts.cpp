// \brief Resource facts from /proc and the file systems.
#include "crash/report/resource_facts.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kestrix {
namespace {

std::string ReadText(const char* path) {
    std::ifstream file(path);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<dev_t> DeviceOf(const std::filesystem::path& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return status.st_dev;
}

// The highest folder above the path on the same device.
std::filesystem::path MountPointOf(const std::filesystem::path& path) {
    const auto device = DeviceOf(path);
    std::filesystem::path mount = path;
    while (mount.has_relative_path()) {
        const std::filesystem::path parent = mount.parent_path();
        if (DeviceOf(parent) != device)
            break;
        mount = parent;
    }
    return mount;
}

}  // namespace

std::optional<std::uint64_t> SystemUpTimeSeconds() {
    const std::string text = ReadText("/proc/uptime");
    std::uint64_t seconds = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), seconds).ec != std::errc{})
        return std::nullopt;
    return seconds;
}

TProcessors ParseCpuInfo(std::string_view cpuInfo) {
    TProcessors processors;
    std::istringstream lines{std::string(cpuInfo)};
    for (std::string line; std::getline(lines, line);) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string_view key = Trimmed(std::string_view(line).substr(0, colon));
        if (key == "processor")
            ++processors.Count;
        else if (key == "model name" && processors.Name.empty())
            processors.Name = Trimmed(std::string_view(line).substr(colon + 1));
    }
    return processors;
}

std::optional<TProcessors> Processors() {
    const TProcessors processors = ParseCpuInfo(ReadText("/proc/cpuinfo"));
    if (processors.Count == 0 || processors.Name.empty())
        return std::nullopt;
    return processors;
}

std::optional<std::uint64_t> KilobyteValue(std::string_view text, std::string_view name) {
    for (std::size_t at = text.find(name); at != std::string_view::npos;
         at = text.find(name, at + 1)) {
        if ((at > 0 && text[at - 1] != '\n') || text.compare(at + name.size(), 1, ":") != 0)
            continue;
        const std::string_view rest = text.substr(at + name.size() + 1);
        const std::size_t digits = rest.find_first_of("0123456789");
        std::uint64_t kilobytes = 0;
        if (digits == std::string_view::npos ||
            std::from_chars(rest.data() + digits, rest.data() + rest.size(), kilobytes).ec !=
                std::errc{})
            return std::nullopt;
        return kilobytes * 1024;
    }
    return std::nullopt;
}

std::optional<TPhysicalMemory> PhysicalMemory() {
    const std::string text = ReadText("/proc/meminfo");
    const auto available = KilobyteValue(text, "MemAvailable");
    const auto total = KilobyteValue(text, "MemTotal");
    if (!available || !total)
        return std::nullopt;
    return TPhysicalMemory{*available, *total};
}

std::optional<TDiskSpace> DiskSpaceOf(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    struct statvfs space {};
    if (error || statvfs(absolute.c_str(), &space) != 0)
        return std::nullopt;
    return TDiskSpace{MountPointOf(absolute).string(),
                      static_cast<std::uint64_t>(space.f_bavail) * space.f_frsize};
}

std::optional<std::uint64_t> AllocatedMemory() {
    return KilobyteValue(ReadText("/proc/self/smaps_rollup"), "Anonymous");
}

}  // namespace kestrix
