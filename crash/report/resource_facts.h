// \brief What the report header says about the machine's resources and the process's use of
// them: /proc/uptime, /proc/cpuinfo, /proc/meminfo, the file systems, /proc/self/smaps_rollup.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "crash/report/header_field_texts.h"

namespace kestrix {

std::optional<std::uint64_t> SystemUpTimeSeconds();

struct TProcessors {
    int Count = 0;
    std::string Name;  // the first "model name"
};
std::optional<TProcessors> Processors();
TProcessors ParseCpuInfo(std::string_view cpuInfo);

struct TPhysicalMemory {
    std::uint64_t FreeBytes = 0;  // what is available to programs
    std::uint64_t TotalBytes = 0;
};
std::optional<TPhysicalMemory> PhysicalMemory();

// A "name: N kB" value of a /proc text in bytes.
std::optional<std::uint64_t> KilobyteValue(std::string_view text, std::string_view name);

// The mount point that holds the path and the space free there for unprivileged users.
std::optional<TDiskSpace> DiskSpaceOf(const std::string& path);

// The process's anonymous memory: what it allocated, not its mapped files.
std::optional<std::uint64_t> AllocatedMemory();

}  // namespace kestrix
