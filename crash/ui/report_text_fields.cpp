// \brief Reading the rendered report back.
#include "crash/ui/report_text_fields.h"

#include <sstream>

namespace kestrix {
namespace {

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

// Every header name is padded to the same width, so the first " : " of the first line marks the
// column of every line's colon.
std::pair<std::string, std::string> HeaderField(const std::string& line, std::size_t colon) {
    if (colon == std::string::npos || line.size() < colon + 1 || line[colon] != ':') {
        return {line, ""};
    }
    std::string name = line.substr(0, colon);
    name.erase(name.find_last_not_of(' ') + 1);
    return {name, line.size() > colon + 2 ? line.substr(colon + 2) : ""};
}

}  // namespace

ReportTextFields ReadReportText(const std::string& report) {
    const std::vector<std::string> lines = LinesOf(report);
    ReportTextFields fields;
    std::size_t index = 0;
    const std::size_t blankColon = lines.empty() ? std::string::npos : lines.front().find(" : ");
    const std::size_t colon = blankColon == std::string::npos ? blankColon : blankColon + 1;
    for (; index < lines.size() && !lines[index].empty(); ++index) {
        fields.Header.push_back(HeaderField(lines[index], colon));
    }
    while (index < lines.size()) {
        ++index;  // the empty line in front of a section
        if (index >= lines.size()) {
            break;
        }
        std::string name = lines[index++];
        if (!name.empty() && name.back() == ':') {
            name.pop_back();
        }
        std::string content;
        for (const std::size_t first = index; index < lines.size() && !lines[index].empty();
             ++index) {
            if (index > first) {
                content += '\n';
            }
            content += lines[index] == "." ? "" : lines[index];
        }
        fields.Sections.emplace_back(std::move(name), std::move(content));
    }
    return fields;
}

}  // namespace kestrix
