// \brief The texts of the report header's fields that are formatted from plain values: times,
// ids, the call-stack checksums, the display, the processors, the operating system and the user.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kestrix {

struct TReportTime {
    int Year = 0;
    int Month = 0;
    int Day = 0;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
};

// The local time of the system clock's time point.
TReportTime LocalReportTime(std::chrono::system_clock::time_point time);

// "2026-12-10, 13:16:56, 7ms"
std::string DateTimeText(const TReportTime& time);
// "2026-12-10 13:16", the last-write time of a module
std::string ModuleDateTimeText(const TReportTime& time);

struct TDiskSpace {
    std::string MountPoint;
    std::uint64_t FreeBytes = 0;
};

// "(" mount point ") " and the free space of the system's file system, then, after a blank, the
// same for the program's file system when it is another one.
std::string FreeDiskSpaceText(const TDiskSpace& system,
                              const std::optional<TDiskSpace>& program,
                              char decimalSeparator = '.');

// "$" and the id in lower-case hexadecimal digits.
std::string ProcessIdText(std::uint32_t processId);

// The three checksums as "$" and eight hexadecimal digits each, separated by ", ".
std::string CallstackCrcText(std::uint32_t checksum1,
                             std::uint32_t checksum2,
                             std::uint32_t checksum3);

// "1920x1080, 24 bit"
std::string DisplayModeText(int width, int height, int depth);

// The field's name and content: "processor" and the name for one processor, "processors" and
// the count, "x " and the name for more.
std::pair<std::string, std::string> ProcessorsField(int count, std::string_view name);

// The distribution's name, " build " and the kernel release.
std::string OperatingSystemText(std::string_view distribution, std::string_view kernelRelease);

// The user's name, with "  <admin>" for an administrator.
std::string UserNameText(std::string_view userName, bool isAdministrator);

}  // namespace kestrix
