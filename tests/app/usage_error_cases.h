// Test helper: a table of command lines that a parser must refuse, each with its one-line message.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>
#include <vector>

#include "app/usage_error.h"

namespace gatool::testing {

struct UsageErrorCase {
    std::vector<std::string_view> arguments;
    const char* message;
};

// Runs `parse` on each case's arguments and expects a UsageError with the case's message.
template <typename Parse>
void ExpectUsageErrors(Parse parse, std::initializer_list<UsageErrorCase> cases) {
    for (const UsageErrorCase& c : cases) {
        SCOPED_TRACE(c.message);
        try {
            parse(c.arguments);
            ADD_FAILURE() << "no error";
        } catch (const UsageError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

}  // namespace gatool::testing
