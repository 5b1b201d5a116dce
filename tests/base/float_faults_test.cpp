// Tests of the fault-checking arithmetic that stands in for the hardware's floating-point traps.
#include "base/float_faults.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>
#include <string>

#include "base/exceptions.h"

namespace gatool {
namespace {

std::string FaultOf(auto operation) {
    try {
        operation();
    } catch (const EMathError& fault) {
        return fault.what();
    }
    return "no fault";
}

TEST(Divide, ReportsEachFaultWithItsMessage) {
    struct Case {
        Extended a, b;
        std::string fault;
    } const cases[] = {
        {1, 0, "Floating point division by zero"},
        {-3, 0, "Floating point division by zero"},
        {0, 0, "Invalid floating point operation"},
        {0, -0.0L, "Invalid floating point operation"},
        {std::numeric_limits<Extended>::max(), 0.5L, "Floating point overflow"},
        {6, 3, "no fault"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<double>(c.a)) + " / " +
                     std::to_string(static_cast<double>(c.b)));
        EXPECT_EQ(FaultOf([&] { Divide(c.a, c.b); }), c.fault);
    }
    EXPECT_EQ(Divide(6, 3), 2);
}

TEST(ToSingle, OverflowsOnlyBeyondTheLargestSingleAfterRounding) {
    EXPECT_EQ(ToSingle(FLT_MAX), FLT_MAX);
    // Half an ulp above FLT_MAX, less a little, still rounds down to FLT_MAX.
    EXPECT_EQ(ToSingle(Extended{FLT_MAX} * (1 + 0x1p-25L)), FLT_MAX);
    EXPECT_EQ(FaultOf([] { ToSingle(Extended{FLT_MAX} * 2); }), "Floating point overflow");
    EXPECT_EQ(FaultOf([] { ToSingle(-Extended{FLT_MAX} * 2); }), "Floating point overflow");
    EXPECT_EQ(FaultOf([] { ToSingle(std::numeric_limits<Extended>::quiet_NaN()); }),
              "Invalid floating point operation");
}

TEST(ToSingle, UnderflowPassesSilently) {
    EXPECT_EQ(ToSingle(1e-60L), 0.0f);
    EXPECT_GT(ToSingle(Extended{FLT_MIN} / 4), 0.0f);  // a denormal
}

TEST(ToDouble, OverflowsBeyondTheDoubleRange) {
    EXPECT_EQ(FaultOf([] { ToDouble(Extended{DBL_MAX} * 2); }), "Floating point overflow");
    EXPECT_EQ(ToDouble(1e300L), 1e300);
}

TEST(CheckedExp, OverflowsWhereTheDoubleExponentialDoes) {
    EXPECT_DOUBLE_EQ(CheckedExp(1), 2.718281828459045);
    EXPECT_GT(CheckedExp(709.78), 1e308);
    EXPECT_EQ(FaultOf([] { CheckedExp(709.79); }), "Floating point overflow");
    EXPECT_EQ(CheckedExp(-1000), 0.0);
}

}  // namespace
}  // namespace gatool
