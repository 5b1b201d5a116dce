// \brief Reading gdb's record and the walker's printed frames.
#include "tests/crash/stack/crash_suite/frame_lists.h"

#include <charconv>
#include <stdexcept>

namespace crash_suite {
namespace {

std::vector<std::string_view> TabFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return fields;
        line.remove_prefix(tab + 1);
    }
}

int ParseLine(std::string_view text, const std::string& entry) {
    int line = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), line);
    if (error != std::errc{} || end != text.data() + text.size())
        throw std::runtime_error("bad line number in: " + entry);
    return line;
}

std::uintptr_t ParseAddress(std::string_view text, const std::string& entry) {
    std::uintptr_t address = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), address, 16);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        throw std::runtime_error("bad address in: " + entry);
    return address;
}

}  // namespace

std::vector<TFrame> ReadGdbBacktrace(std::istream& record) {
    // kind, module, address, line, names ("inlined < ... < real").
    std::vector<TFrame> frames;
    for (std::string entry; std::getline(record, entry);) {
        const std::vector<std::string_view> fields = TabFields(entry);
        if (fields.size() != 5 || (fields[0] != "call" && fields[0] != "location"))
            throw std::runtime_error("not a frame of gdb's record: " + entry);
        TFrame frame;
        frame.InProgram = fields[1] == "program";
        frame.Address = ParseAddress(fields[2], entry);
        frame.Line = ParseLine(fields[3], entry);
        const std::size_t real = fields[4].rfind(" < ");
        frame.Name = fields[4].substr(real == std::string_view::npos ? 0 : real + 3);
        frame.Description = entry;
        frames.push_back(std::move(frame));
    }
    return frames;
}

std::vector<TFrame> ReadWalkedFrames(std::istream& output) {
    // "item", offset or "-", line, module, procedure.
    std::vector<TFrame> frames;
    for (std::string entry; std::getline(output, entry);) {
        const std::vector<std::string_view> fields = TabFields(entry);
        if (fields.front() != "item")
            continue;
        if (fields.size() != 5)
            throw std::runtime_error("not a walked frame: " + entry);
        TFrame frame;
        frame.InProgram = fields[1] != "-";
        if (frame.InProgram)
            frame.Address = ParseAddress(fields[1], entry);
        frame.Line = ParseLine(fields[2], entry);
        frame.Name = fields[4];
        frame.Description = entry;
        frames.push_back(std::move(frame));
    }
    return frames;
}

bool IsScenarioFrame(const TFrame& frame) {
    if (!frame.InProgram)
        return false;
    const std::string_view name = frame.Name;
    if (name == "main")
        return true;
    const std::size_t at = name.find("crash_suite::");
    return at != std::string_view::npos &&
           name.substr(0, at).find_first_of("<(") == std::string_view::npos;
}

}  // namespace crash_suite
