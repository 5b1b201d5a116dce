// \brief Formatting of durations and sizes.
#include "crash/report/report_quantities.h"

#include <array>

namespace kestrix {
namespace {

void AppendPart(std::string& text, std::uint64_t count, const char* unit) {
    if (count == 0)
        return;
    text += std::to_string(count) + " " + unit + (count == 1 ? " " : "s ");
}

std::uint64_t RoundedMegabytes(std::uint64_t bytes) {
    constexpr std::uint64_t Megabyte = 1024 * 1024;
    return bytes / Megabyte + (bytes % Megabyte >= Megabyte / 2 ? 1 : 0);
}

}  // namespace

std::string DurationText(std::uint64_t totalSeconds) {
    const std::uint64_t days = totalSeconds / 86400;
    const std::uint64_t hours = totalSeconds / 3600 % 24;
    const std::uint64_t minutes = totalSeconds / 60 % 60;
    const std::uint64_t seconds = totalSeconds % 60;
    std::string text;
    if (days > 0) {
        AppendPart(text, days, "day");
        AppendPart(text, hours, "hour");
    } else if (hours > 0) {
        AppendPart(text, hours, "hour");
        AppendPart(text, minutes, "minute");
    } else {
        AppendPart(text, minutes, "minute");
        AppendPart(text, seconds, "second");
    }
    return text;
}

std::string ProgramUpTimeText(std::uint64_t milliseconds) {
    if (milliseconds < 1000)
        return std::to_string(milliseconds) + " milliseconds";
    return DurationText(milliseconds / 1000);
}

std::string SizeText(std::uint64_t bytes, char decimalSeparator) {
    struct Unit {
        std::uint64_t Size;
        const char* Name;
    };
    static constexpr std::array<Unit, 3> Units{
        {{1ULL << 30, " GB"}, {1ULL << 20, " MB"}, {1ULL << 10, " KB"}}};
    for (const Unit& unit : Units) {
        if (bytes >= unit.Size) {
            const std::uint64_t hundredths = bytes % unit.Size * 100 / unit.Size;
            return std::to_string(bytes / unit.Size) + decimalSeparator +
                   (hundredths < 10 ? "0" : "") + std::to_string(hundredths) + unit.Name;
        }
    }
    return std::to_string(bytes) + " Bytes";
}

std::string PhysicalMemoryText(std::uint64_t freeBytes, std::uint64_t totalBytes) {
    return std::to_string(RoundedMegabytes(freeBytes)) + "/" +
           std::to_string(RoundedMegabytes(totalBytes)) + " MB (free/total)";
}

}  // namespace kestrix
