// \brief Runs the scenario program on one scenario and collects what it prints.
#pragma once

#include <chrono>
#include <string>

namespace crash_suite {

struct TScenarioRun {
    std::string Output;   // standard output
    int ExitStatus = -1;  // the exit code, or -1 when the program did not end normally
    bool TimedOut = false;
};

// Ends the program when it has not finished by the deadline.
TScenarioRun RunScenario(const std::string& program,
                         const std::string& scenario,
                         std::chrono::seconds deadline);

}  // namespace crash_suite
