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

TEST(OutputFilters, ATerminateTraceStartsAtTheThrow) {
    struct Case {
        const char* name;
        Names items;
        Names kept;
    };
    const Case cases[] = {
        {"a throw",
         {"main", "Thrower()", "__cxa_throw", "std::terminate()", "OnTerminate()"},
         {"main", "Thrower()"}},
        {"a rethrow inside a throw",
         {"main", "__cxa_throw", "Catcher()", "__cxa_rethrow", "std::terminate()", "handler"},
         {"main", "__cxa_throw", "Catcher()"}},
        {"no throw routine",
         {"main", "std::terminate()", "handler"},
         {"main", "std::terminate()", "handler"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TInternalStackItems items = Named(c.items);
        FilterTerminateTrace(items);
        EXPECT_EQ(ValidNames(items), c.kept);
    }
}

TEST(OutputFilters, ARaiseTimeStackLeavesOutTheCaptureButNotTheLocation) {
    struct Case {
        const char* name;
        Names items;
        Names kept;
    };
    const Case cases[] = {
        {"a throw",
         {"main", "Thrower()", "__cxa_throw", "Capture()", "at"},
         {"main", "Thrower()", "at"}},
        {"a rethrow",
         {"main", "Catcher()", "_Unwind_RaiseException", "at"},
         {"main", "Catcher()", "at"}},
        {"a throw from a signal handler",
         {"main", "__restore_rt", "__cxa_throw", "Capture()", "at"},
         {"main", "at"}},
        {"the trampoline further out stays",
         {"__restore_rt", "Handler()", "__cxa_throw", "at"},
         {"__restore_rt", "Handler()", "at"}},
        {"no raise routine", {"main", "Thrower()", "at"}, {"main", "Thrower()", "at"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TInternalStackItems items = Named(c.items);
        FilterRaiseTimeStack(items);
        EXPECT_EQ(ValidNames(items), c.kept);
    }
}

}  // namespace
}  // namespace kestrix
