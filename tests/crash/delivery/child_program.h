// Runs a program with an argument vector (no shell) and gives its exit code and everything it
// wrote to standard output and standard error.
#pragma once

#include <string>
#include <vector>

namespace kestrix::test {

struct ChildResult {
    int ExitCode = -1;
    std::string Output;
};

ChildResult RunChild(const std::vector<std::string>& arguments);

}  // namespace kestrix::test
