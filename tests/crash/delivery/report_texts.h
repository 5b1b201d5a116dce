// Report texts in the form the reporter renders them, for the delivery tests.
#pragma once

#include <optional>
#include <string>

namespace kestrix {

struct ReportText {
    std::string Checksums = "$11111111, $22222222, $33333333";
    std::string Executable = "gatool";
    std::optional<std::string> ExceptionClass = "EConvertError";
    std::optional<std::string> Version = "1.2.0.0";
    std::string Body = "main thread ($1):\r\n00401000 gatool main.cpp 12 main";

    std::string Text() const {
        std::string text =
            "date/time          : 2026-01-01, 10:00:00, 123ms\r\n"
            "executable         : " +
            Executable +
            "\r\n"
            "current module     : " +
            Executable + "\r\n";
        if (Version) {
            text += "version            : " + *Version + "\r\n";
        } else {
            text += "exec. date/time    : 2026-01-01 09:00\r\n";
        }
        if (ExceptionClass) {
            text += "exception class    : " + *ExceptionClass + "\r\n";
        }
        text +=
            "exception message  : bad number\r\n"
            "callstack crc      : " +
            Checksums + "\r\n\r\n" + Body;
        return text;
    }
};

}  // namespace kestrix
