// \brief The rows of each section kind.
#include "crash/ui/section_rows.h"

#include <algorithm>

#include "crash/ui/text_columns.h"

namespace kestrix {
namespace {

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? ""
                                      : text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

std::vector<std::string> RegisterRow(const std::string& line) {
    const std::size_t equals = line.find(" = ");
    if (equals == std::string::npos) {
        return {line};
    }
    return {Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 3))};
}

// "address  hex bytes  characters": the characters follow the last double blank.
std::vector<std::string> StackDumpRow(const std::string& line) {
    const std::size_t afterAddress = line.find(' ');
    const std::size_t characters = line.rfind("  ");
    if (afterAddress == std::string::npos || characters == std::string::npos ||
        characters < afterAddress) {
        return {line};
    }
    return {line.substr(0, afterAddress),
            Trimmed(line.substr(afterAddress, characters - afterAddress)),
            line.substr(characters + 2)};
}

// "address [line] code [; comment]", the line number only where the source line changes.
std::vector<std::string> DisassemblyRow(const std::string& line) {
    const std::size_t afterAddress = line.find(' ');
    if (afterAddress == std::string::npos) {
        return {"", line};
    }
    std::string rest = line.substr(afterAddress + 1);
    std::string number;
    const std::size_t numberEnd = rest.find(' ');
    if (numberEnd != std::string::npos && numberEnd > 0 &&
        std::all_of(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(numberEnd),
                    [](char each) { return each >= '0' && each <= '9'; })) {
        number = rest.substr(0, numberEnd);
        rest.erase(0, numberEnd + 1);
    }
    const std::size_t comment = rest.find(';');
    const std::string code = Trimmed(rest.substr(0, comment));
    return {number, line.substr(0, afterAddress), code,
            comment == std::string::npos ? "" : Trimmed(rest.substr(comment + 1))};
}

}  // namespace

std::vector<std::vector<std::string>> SectionRows(const std::string& section,
                                                  const std::vector<std::string>& lines,
                                                  std::size_t columnCount) {
    std::vector<std::vector<std::string>> rows;
    const auto each = [&](auto rowOf) {
        std::transform(lines.begin(), lines.end(), std::back_inserter(rows), rowOf);
        return rows;
    };
    if (section == "cpu registers") {
        return each(RegisterRow);
    }
    if (section == "stack dump") {
        return each(StackDumpRow);
    }
    if (section == "disassembling") {
        return each(DisassemblyRow);
    }
    rows = SplitTextColumns(lines, columnCount);
    for (auto& row : rows) {
        if (row.size() > 1 && row.size() < columnCount) {
            std::string last = std::move(row.back());
            row.back().clear();
            row.resize(columnCount);
            row.back() = std::move(last);
        }
    }
    return rows;
}

}  // namespace kestrix
