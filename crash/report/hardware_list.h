// \brief The "hardware" plug-in: the device classes of sysfs (/sys/class/<class>) with the devices
// in them that stand for hardware (those with a "device" link; virtual devices have none) and the
// kernel driver bound to each. sysfs is read directly: it holds all that the list shows, and
// libudev would add a library for no more information.
#pragma once

#include <string>
#include <vector>

namespace kestrix {

struct THardwareListEntry {
    std::string ClassName;
    std::string DeviceName;
    std::string Driver;         // empty without a bound driver
    std::string DriverVersion;  // the driver module's version, when it has one
};

std::vector<THardwareListEntry> InstalledHardware();

// The classes sorted by name without regard to case, each as "+ " and its name, followed by its
// devices sorted the same way as "  - " and the name, with " (driver " name, a blank and the
// version when there is one, and ")" for a device with a driver.
std::string FormatHardwareList(std::vector<THardwareListEntry> devices);

std::string HardwareList();

}  // namespace kestrix
