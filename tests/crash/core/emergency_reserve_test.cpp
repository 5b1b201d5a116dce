// The emergency reserve: eight inaccessible regions, given back and taken again.
#include "crash/core/emergency_reserve.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace kestrix {
namespace {

// Mappings of the process without any access right.
int InaccessibleMappings() {
    std::ifstream maps("/proc/self/maps");
    std::string range, permissions, rest;
    int count = 0;
    while (maps >> range >> permissions && std::getline(maps, rest)) {
        count += permissions.starts_with("---p") ? 1 : 0;
    }
    return count;
}

TEST(EmergencyReserve, HoldsEightInaccessibleRegionsUntilReleased) {
    ReleaseEmergencyReserve();
    const int before = InaccessibleMappings();
    TakeEmergencyReserve();
    EXPECT_EQ(EmergencyReserveRegions(), 8);
    EXPECT_GE(InaccessibleMappings(), before + 1);
    TakeEmergencyReserve();
    EXPECT_EQ(EmergencyReserveRegions(), 8);
    ReleaseEmergencyReserve();
    EXPECT_EQ(EmergencyReserveRegions(), 0);
    EXPECT_EQ(InaccessibleMappings(), before);
}

}  // namespace
}  // namespace kestrix
