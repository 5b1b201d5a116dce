// \brief Reports and header lines inside a report file.
#include "crash/delivery/file/report_file_fields.h"

namespace kestrix {
namespace {

constexpr std::string_view ReportStart = "date/time";

// The offsets where lines start.
std::vector<std::size_t> LineStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    std::size_t position = 0;
    while (position < text.size()) {
        starts.push_back(position);
        const std::size_t end = text.find('\n', position);
        if (end == std::string_view::npos) {
            break;
        }
        position = end + 1;
    }
    return starts;
}

std::string_view LineAt(std::string_view text, std::size_t start) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
        end = text.size();
    }
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

// The name of a header line ("name   : value"), and where its value starts.
struct HeaderLine {
    std::string_view Name;
    std::size_t ValueStart = 0;
};

std::optional<HeaderLine> ParseHeaderLine(std::string_view line) {
    const std::size_t colon = line.find(": ");
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view name = line.substr(0, colon);
    while (!name.empty() && name.back() == ' ') {
        name.remove_suffix(1);
    }
    return HeaderLine{name, colon + 2};
}

}  // namespace

std::vector<TextSpan> ReportSpans(std::string_view file) {
    std::vector<std::size_t> starts{0};
    bool seenFirst = false;
    for (const std::size_t start : LineStarts(file)) {
        if (LineAt(file, start).starts_with(ReportStart)) {
            if (seenFirst) {
                starts.push_back(start);
            }
            seenFirst = true;
        }
    }
    std::vector<TextSpan> spans;
    for (std::size_t i = 0; i < starts.size() && !file.empty(); ++i) {
        spans.push_back({starts[i], i + 1 < starts.size() ? starts[i + 1] : file.size()});
    }
    return spans;
}

TextSpan ReportSpanAt(std::string_view file, std::size_t offset) {
    for (const TextSpan& span : ReportSpans(file)) {
        if (offset < span.End) {
            return span;
        }
    }
    return {file.size(), file.size()};
}

std::optional<std::string> ReportFieldValue(std::string_view report, std::string_view name) {
    for (const std::size_t start : LineStarts(report)) {
        const std::string_view line = LineAt(report, start);
        const auto header = ParseHeaderLine(line);
        if (header && header->Name == name) {
            return std::string(line.substr(header->ValueStart));
        }
    }
    return std::nullopt;
}

std::string WithCountLine(std::string_view report, long count) {
    std::string result;
    bool placed = false;
    for (const std::size_t start : LineStarts(report)) {
        const std::string_view line = LineAt(report, start);
        const std::size_t next = report.find('\n', start);
        const std::string_view lineBreak = report.substr(
            start + line.size(), next == std::string_view::npos ? std::string_view::npos
                                                                : next + 1 - start - line.size());
        const auto header = ParseHeaderLine(line);
        if (header && header->Name == "count") {
            continue;
        }
        result.append(line).append(lineBreak);
        if (header && header->Name == "callstack crc" && !placed) {
            std::string countLine = "count";
            const std::size_t nameWidth = header->ValueStart - 2;
            if (countLine.size() < nameWidth) {
                countLine.append(nameWidth - countLine.size(), ' ');
            }
            countLine += ": " + std::to_string(count);
            if (lineBreak.empty()) {
                result.append("\r\n").append(countLine);
            } else {
                result.append(countLine).append(lineBreak);
            }
            placed = true;
        }
    }
    return placed ? result : std::string(report);
}

}  // namespace kestrix
