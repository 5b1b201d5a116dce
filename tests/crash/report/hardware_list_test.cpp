// \brief The hardware list: classes and devices sorted without regard to case, the driver texts,
// and only real devices from sysfs.
#include "crash/report/hardware_list.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kestrix {
namespace {

TEST(FormatHardwareList, GroupsSortedClassesAndDevicesWithTheirDrivers) {
    EXPECT_EQ(FormatHardwareList({{"net", "eth0", "virtio_net", ""},
                                  {"block", "vda", "virtio_blk", ""},
                                  {"Input", "event3", "evdev", "2.1"},
                                  {"block", "Sda", "", ""},
                                  {"block", "nvme0n1", "nvme", "1.0"}}),
              "+ block\r\n"
              "  - nvme0n1 (driver nvme 1.0)\r\n"
              "  - Sda\r\n"
              "  - vda (driver virtio_blk)\r\n"
              "+ Input\r\n"
              "  - event3 (driver evdev 2.1)\r\n"
              "+ net\r\n"
              "  - eth0 (driver virtio_net)");
    EXPECT_EQ(FormatHardwareList({}), "");
}

TEST(InstalledHardware, ListsOnlyDevicesBackedByHardware) {
    const auto devices = InstalledHardware();
    for (const THardwareListEntry& device : devices) {
        SCOPED_TRACE(device.ClassName + "/" + device.DeviceName);
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path("/sys/class") / device.ClassName /
                                            device.DeviceName / "device"));
    }
    // The loopback interface is virtual.
    EXPECT_TRUE(std::none_of(devices.begin(), devices.end(), [](const auto& device) {
        return device.ClassName == "net" && device.DeviceName == "lo";
    }));
}

}  // namespace
}  // namespace kestrix
