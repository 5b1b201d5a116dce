// \brief Formatting of the header fields' texts.
#include "crash/report/header_field_texts.h"

#include <cstdio>
#include <ctime>

#include "crash/report/report_quantities.h"

namespace kestrix {

TReportTime LocalReportTime(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto sinceSecond = time - std::chrono::floor<std::chrono::seconds>(time);
    return {local.tm_year + 1900,
            local.tm_mon + 1,
            local.tm_mday,
            local.tm_hour,
            local.tm_min,
            local.tm_sec,
            static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(sinceSecond).count())};
}

std::string DateTimeText(const TReportTime& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d, %02d:%02d:%02d, %dms", time.Year, time.Month,
                  time.Day, time.Hour, time.Minute, time.Second, time.Millisecond);
    return text;
}

std::string ModuleDateTimeText(const TReportTime& time) {
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", time.Year, time.Month, time.Day,
                  time.Hour, time.Minute);
    return text;
}

std::string FreeDiskSpaceText(const TDiskSpace& system,
                              const std::optional<TDiskSpace>& program,
                              char decimalSeparator) {
    const auto text = [&](const TDiskSpace& disk) {
        return "(" + disk.MountPoint + ") " + SizeText(disk.FreeBytes, decimalSeparator);
    };
    if (program && program->MountPoint != system.MountPoint)
        return text(system) + " " + text(*program);
    return text(system);
}

std::string ProcessIdText(std::uint32_t processId) {
    char text[16];
    std::snprintf(text, sizeof text, "$%x", processId);
    return text;
}

std::string CallstackCrcText(std::uint32_t checksum1,
                             std::uint32_t checksum2,
                             std::uint32_t checksum3) {
    char text[40];
    std::snprintf(text, sizeof text, "$%08x, $%08x, $%08x", checksum1, checksum2, checksum3);
    return text;
}

std::string DisplayModeText(int width, int height, int depth) {
    return std::to_string(width) + "x" + std::to_string(height) + ", " + std::to_string(depth) +
           " bit";
}

std::pair<std::string, std::string> ProcessorsField(int count, std::string_view name) {
    if (count > 1)
        return {"processors", std::to_string(count) + "x " + std::string(name)};
    return {"processor", std::string(name)};
}

std::string OperatingSystemText(std::string_view distribution, std::string_view kernelRelease) {
    return std::string(distribution) + " build " + std::string(kernelRelease);
}

std::string UserNameText(std::string_view userName, bool isAdministrator) {
    return std::string(userName) + (isAdministrator ? "  <admin>" : "");
}

}  // namespace kestrix
