#include "tests/crash/delivery/mail_reading.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/crash/delivery/child_program.h"
#include "tests/crash/delivery/peer_process.h"

namespace kestrix::test {

nlohmann::json ReadMail(const std::filesystem::path& file) {
    const auto result = RunChild({"/usr/bin/python3", PeerScript("read_mail.py"), file.string()});
    EXPECT_EQ(result.ExitCode, 0) << result.Output;
    return nlohmann::json::parse(result.Output, nullptr, false);
}

std::vector<std::string> DialogueLines(const std::filesystem::path& folder) {
    std::ifstream stream(folder / "dialogue.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace kestrix::test
