// \brief Reading a report file as the reports it collects: each report runs from a line starting
// with "date/time" to the next such line or the end of the file, and its header lines are
// "name", blanks, ": " and the value.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

// A part of a text, as offsets.
struct TextSpan {
    std::size_t Begin = 0;
    std::size_t End = 0;

    std::size_t Size() const { return End - Begin; }
    friend bool operator==(const TextSpan&, const TextSpan&) = default;
};

// The reports of a file in order. Text before the first "date/time" line belongs to the first.
std::vector<TextSpan> ReportSpans(std::string_view file);

// The report that holds the offset.
TextSpan ReportSpanAt(std::string_view file, std::size_t offset);

// The value of the first header line of that name; none when the report has no such line.
std::optional<std::string> ReportFieldValue(std::string_view report, std::string_view name);

// The report with a "count" line right after its "callstack crc" line (replacing one that is
// there), its name padded like that line's; unchanged when the report has no "callstack crc".
std::string WithCountLine(std::string_view report, long count);

}  // namespace kestrix
