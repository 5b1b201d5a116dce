// Runs a program as a child process with a given environment and collects what it printed.
#pragma once

#include <string>
#include <vector>

namespace gatool::testing {

struct ProgramRun {
    int status = -1;  // the exit status, or 128 + the signal that ended it
    std::string out;
    std::string err;
};

// Pointers to the texts, ended by a null pointer, as argument and environment vectors are passed.
std::vector<char*> NullTerminated(std::vector<std::string>& texts);

// Runs `program` with `arguments` and exactly the variables of `environment` ("NAME=value"), with
// standard input empty, and waits for it to end.
ProgramRun RunProgram(const std::string& program,
                      const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment);

}  // namespace gatool::testing
