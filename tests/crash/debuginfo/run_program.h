// \brief Runs a program with an argument vector (no shell) and gives its exit code and what it
// wrote to standard error, or what it wrote to standard output.
#pragma once

#include <string>
#include <vector>

namespace kestrix::test {

struct ProgramResult {
    int ExitCode = -1;
    std::string Errors;
};

ProgramResult RunProgram(const std::vector<std::string>& arguments);

// What the program wrote to standard output; throws when it fails.
std::string ProgramOutput(const std::vector<std::string>& arguments);

}  // namespace kestrix::test
