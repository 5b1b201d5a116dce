// \brief The clean-up of exception messages and the "exception message" field.
#include "crash/report/exception_message_text.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

TEST(CleanExceptionMessage, RemovesControlCharactersAndTrims) {
    struct Case {
        std::string_view message;
        const char* expected;
    };
    for (const Case& c : {
             Case{"Floating point overflow", "Floating point overflow"},
             Case{"  padded \t", "padded"},
             Case{"line one\r\nline two", "line one\r\nline two"},
             Case{"\r\nbroken\n", "broken"},
             Case{"bell\a and\x1b escape\x7f", "bell and escape"},
             Case{"", "Unknown"},
             Case{" \t\r\n ", "Unknown"},
         }) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(CleanExceptionMessage(c.message), c.expected);
    }
}

TEST(ExceptionMessageField, EndsWithOneDotAndIsLeftOutForTheClassName) {
    struct Case {
        std::string_view message;
        std::string_view className;
        std::optional<std::string> expected;
    };
    for (const Case& c : {
             Case{"Invalid floating point operation", "EInvalidOp",
                  "Invalid floating point operation."},
             Case{"Boom!!!", "EAbort", "Boom."},
             Case{"Done.!.", "Exception", "Done."},
             Case{"Version 1.2", "Exception", "Version 1.2."},
             Case{"EConvertError", "EConvertError", std::nullopt},
             Case{"econverterror", "EConvertError", "econverterror."},
             Case{"!!!", "Exception", "."},
         }) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(ExceptionMessageField(c.message, c.className), c.expected);
    }
}

}  // namespace
}  // namespace kestrix
