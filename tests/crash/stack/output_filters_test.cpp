// Tests of the final output's filters on items named by their procedures, outermost first.
#include "crash/stack/output_filters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrix {
namespace {

// The names are the items from the outermost; the last one is the location.
TInternalStackItems Named(const std::vector<std::string>& names) {
    TInternalStackItems items;
    for (const std::string& name : names)
        items.emplace_back().ProcedureName = name;
    items.back().Location = true;
    return items;
}

std::vector<std::string> ValidNames(const TInternalStackItems& items) {
    std::vector<std::string> names;
    for (const TInternalStackItem& item : items) {
        if (!item.Invalid)
            names.push_back(item.ProcedureName);
    }
    return names;
}

using Names = std::vector<std::string>;

TEST(OutputFilters, LeaveOutTheRuntimesFramesBetweenAFailureAndItsCause) {
    struct Case {
        const char* name;
        void (*filter)(TInternalStackItems&);
        Names items;
        Names kept;
    };
    const Case cases[] = {
        // A terminate trace starts at the throw.
        {"terminate after a throw",
         &FilterTerminateTrace,
         {"main", "Thrower()", "__cxa_throw", "std::terminate()", "OnTerminate()"},
         {"main", "Thrower()"}},
        {"terminate after a rethrow inside a throw",
         &FilterTerminateTrace,
         {"main", "__cxa_throw", "Catcher()", "__cxa_rethrow", "std::terminate()", "handler"},
         {"main", "__cxa_throw", "Catcher()"}},
        {"terminate without a throw routine",
         &FilterTerminateTrace,
         {"main", "std::terminate()", "handler"},
         {"main", "std::terminate()", "handler"}},
        // A raise-time stack leaves out the capture, but not the location.
        {"raised by a throw",
         &FilterRaiseTimeStack,
         {"main", "Thrower()", "__cxa_throw", "Capture()", "at"},
         {"main", "Thrower()", "at"}},
        {"raised by a rethrow",
         &FilterRaiseTimeStack,
         {"main", "Catcher()", "_Unwind_RaiseException", "at"},
         {"main", "Catcher()", "at"}},
        {"raised from a signal handler",
         &FilterRaiseTimeStack,
         {"main", "__restore_rt", "__cxa_throw", "Capture()", "at"},
         {"main", "at"}},
        {"raised with the trampoline further out",
         &FilterRaiseTimeStack,
         {"__restore_rt", "Handler()", "__cxa_throw", "at"},
         {"__restore_rt", "Handler()", "at"}},
        {"raised without a raise routine",
         &FilterRaiseTimeStack,
         {"main", "Thrower()", "at"},
         {"main", "Thrower()", "at"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TInternalStackItems items = Named(c.items);
        c.filter(items);
        EXPECT_EQ(ValidNames(items), c.kept);
    }
}

}  // namespace
}  // namespace kestrix
