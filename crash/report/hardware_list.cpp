// \brief The hardware list from /sys/class.
#include "crash/report/hardware_list.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "crash/report/text_lines.h"

namespace kestrix {
namespace {

const std::filesystem::path ClassFolder = "/sys/class";

std::string FirstLine(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// The name of the link's target, or empty when the link does not exist.
std::filesystem::path LinkTarget(const std::filesystem::path& link) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(link, error);
    return error ? std::filesystem::path() : target;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Without regard to case first, then exactly, so that the order is total.
bool NameLess(const std::string& a, const std::string& b) {
    const std::string lowerA = Lower(a);
    const std::string lowerB = Lower(b);
    return lowerA != lowerB ? lowerA < lowerB : a < b;
}

THardwareListEntry DeviceEntry(const std::string& className, const std::filesystem::path& device) {
    THardwareListEntry entry{className, device.filename().string(), "", ""};
    const std::filesystem::path driver = LinkTarget(device / "device" / "driver");
    if (!driver.empty()) {
        entry.Driver = driver.filename().string();
        const std::filesystem::path module = LinkTarget(device / "device" / "driver" / "module");
        if (!module.empty())
            entry.DriverVersion =
                FirstLine(std::filesystem::path("/sys/module") / module.filename() / "version");
    }
    return entry;
}

}  // namespace

std::vector<THardwareListEntry> InstalledHardware() {
    std::vector<THardwareListEntry> devices;
    std::error_code error;
    for (const auto& classEntry : std::filesystem::directory_iterator(ClassFolder, error)) {
        const std::string className = classEntry.path().filename().string();
        std::error_code classError;
        for (const auto& device :
             std::filesystem::directory_iterator(classEntry.path(), classError)) {
            if (!LinkTarget(device.path() / "device").empty())
                devices.push_back(DeviceEntry(className, device.path()));
        }
    }
    return devices;
}

std::string FormatHardwareList(std::vector<THardwareListEntry> devices) {
    std::sort(devices.begin(), devices.end(), [](const auto& a, const auto& b) {
        if (a.ClassName != b.ClassName)
            return NameLess(a.ClassName, b.ClassName);
        return NameLess(a.DeviceName, b.DeviceName);
    });
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const THardwareListEntry& device = devices[i];
        if (i == 0 || device.ClassName != devices[i - 1].ClassName)
            lines.push_back("+ " + device.ClassName);
        std::string line = "  - " + device.DeviceName;
        if (!device.Driver.empty()) {
            line += " (driver " + device.Driver;
            if (!device.DriverVersion.empty())
                line += " " + device.DriverVersion;
            line += ")";
        }
        lines.push_back(std::move(line));
    }
    return JoinLines(lines);
}

std::string HardwareList() {
    return FormatHardwareList(InstalledHardware());
}

}  // namespace kestrix
