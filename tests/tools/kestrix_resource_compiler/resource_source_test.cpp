// \brief The generated source: every byte of every resource, in order, with its registration.
#include "resource_source.h"

#include <gtest/gtest.h>

#include <charconv>

namespace kestrix {
namespace {

TEST(ResourceSource, HoldsEveryByteAndRegistersEachResourceByName) {
    std::vector<std::uint8_t> large(40);
    for (std::size_t i = 0; i < large.size(); ++i) {
        large[i] = std::uint8_t(i * 7);
    }
    const std::string source = GenerateResourceSource(
        {{"TKESTRIX", "settings.txt", {0x54, 0x00, 0xFF}}, {"TKXFORM", "form.txt", large}});
    EXPECT_NE(source.find("const std::uint8_t Resource0[] = {\n    0x54, 0x00, 0xff,\n};"),
              std::string::npos);
    EXPECT_NE(source.find("Registration0(\"TKESTRIX\", Resource0, sizeof Resource0)"),
              std::string::npos);
    EXPECT_NE(source.find("Registration1(\"TKXFORM\", Resource1, sizeof Resource1)"),
              std::string::npos);
    // The second array lists the 40 bytes in order.
    const std::size_t start = source.find("Resource1[] = {");
    const std::string second = source.substr(start, source.find("};", start) - start);
    std::vector<std::uint8_t> listed;
    for (std::size_t at = second.find("0x"); at != std::string::npos;
         at = second.find("0x", at + 2)) {
        std::uint8_t value = 0;
        const char* digits = second.data() + at + 2;
        const auto [end, error] = std::from_chars(digits, second.data() + second.size(), value, 16);
        EXPECT_EQ(error, std::errc{});
        EXPECT_EQ(end - digits, 2);
        listed.push_back(value);
    }
    EXPECT_EQ(listed, large);
}

}  // namespace
}  // namespace kestrix
