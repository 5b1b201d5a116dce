// Tests of the JSON text pieces.
#include "app/json_text.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <random>

namespace gatool {
namespace {

TEST(JsonString, EscapesAndKeepsTheTextValidUtf8) {
    struct Case {
        std::string text;
        std::string json;
    } const cases[] = {
        {"plain", "\"plain\""},
        {"say \"hi\" \\ there", "\"say \\\"hi\\\" \\\\ there\""},
        {"tab\tcr\r\x01", "\"tab\\u0009cr\\u000d\\u0001\""},
        {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80",
         "\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80\""},
        {"bad \xff byte", "\"bad \\ufffd byte\""},
        {"cut \xe2\x82", "\"cut \\ufffd\\ufffd\""},
        {"overlong \xc0\xaf", "\"overlong \\ufffd\\ufffd\""},
        {"surrogate \xed\xa0\x80", "\"surrogate \\ufffd\\ufffd\\ufffd\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        EXPECT_EQ(JsonString(c.text), c.json);
        EXPECT_EQ(nlohmann::json::parse(JsonString(c.text)).is_string(), true);
    }
}

TEST(JsonNumber, ReadsBackToTheSameSingleOrDouble) {
    std::mt19937_64 engine(7);
    std::uniform_int_distribution<std::uint64_t> bits;
    for (int i = 0; i < 2000; ++i) {
        double d;
        const std::uint64_t b = bits(engine);
        std::memcpy(&d, &b, sizeof d);
        if (!std::isfinite(d)) {
            continue;
        }
        const float f = static_cast<float>(d);
        if (std::isfinite(f)) {
            EXPECT_EQ(static_cast<float>(nlohmann::json::parse(JsonNumber(f)).get<double>()), f);
        }
        EXPECT_EQ(nlohmann::json::parse(JsonNumber(d)).get<double>(), d);
    }
    EXPECT_EQ(JsonNumber(0.1f), "0.1");
    EXPECT_EQ(JsonNumber(FLT_MAX), "3.4028235e+38");
}

}  // namespace
}  // namespace gatool
