// \brief The two frame lists the crash suite compares: gdb's recorded backtrace of a scenario and
// the frames the walker listed when the scenario program walked the same stack.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace crash_suite {

struct TFrame {
    // In the scenario program, Address relative to its load address; otherwise absolute.
    bool InProgram = false;
    // The call instruction; for the frame a fault interrupted, the interrupted instruction.
    std::uintptr_t Address = 0;
    // gdb: the line of the frame's innermost inlined function in the suite's sources, 0 when it
    // is not judged; walker: the item's line, 0 when unknown.
    int Line = 0;
    std::string Name;         // gdb's real function, or the walker's procedure
    std::string Description;  // the whole entry, for messages
};

// gdb's record (record_backtraces.py), innermost first. Throws std::runtime_error naming the line
// that does not parse.
std::vector<TFrame> ReadGdbBacktrace(std::istream& record);

// The "item" lines of the scenario program's output, innermost first; other lines are passed
// over. Throws std::runtime_error naming the line that does not parse.
std::vector<TFrame> ReadWalkedFrames(std::istream& output);

// A frame of the scenarios' own code: a function of the namespace crash_suite (after the return
// type that a template's name begins with, not inside a template argument), or main.
bool IsScenarioFrame(const TFrame& frame);

}  // namespace crash_suite
