#include "tests/crash/delivery/stand_in_programs.h"

#include <cstdlib>
#include <fstream>

#include "tests/crash/delivery/peer_process.h"

namespace kestrix::test {

StandInPrograms::StandInPrograms(const std::filesystem::path& folder)
    : m_record(folder / "starts.jsonl") {
    const auto bin = folder / "bin";
    std::filesystem::create_directories(bin);
    for (const char* program : {"xdg-email", "xdg-open"}) {
        std::filesystem::remove(bin / program);
        std::filesystem::create_symlink(PeerScript("recording_stand_in.py"), bin / program);
    }
    const char* path = std::getenv("PATH");
    m_oldPath = path != nullptr ? path : "/usr/bin:/bin";
    setenv("PATH", (bin.string() + ":" + m_oldPath).c_str(), 1);
    setenv("KESTRIX_STAND_IN_RECORD", m_record.c_str(), 1);
    unsetenv("KESTRIX_STAND_IN_EXIT");
}

StandInPrograms::~StandInPrograms() {
    setenv("PATH", m_oldPath.c_str(), 1);
    unsetenv("KESTRIX_STAND_IN_RECORD");
    unsetenv("KESTRIX_STAND_IN_EXIT");
}

void StandInPrograms::SetExitCode(int code) {
    setenv("KESTRIX_STAND_IN_EXIT", std::to_string(code).c_str(), 1);
}

std::vector<nlohmann::json> StandInPrograms::Starts() const {
    std::ifstream stream(m_record);
    std::vector<nlohmann::json> starts;
    for (std::string line; std::getline(stream, line);) {
        starts.push_back(nlohmann::json::parse(line, nullptr, false));
    }
    return starts;
}

}  // namespace kestrix::test
