// xdg-email and xdg-open replaced, while the object lives, by a stand-in that records how it was
// started: a folder of links to it put first on the PATH.
#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace kestrix::test {

class StandInPrograms {
  public:
    explicit StandInPrograms(const std::filesystem::path& folder);
    ~StandInPrograms();
    StandInPrograms(const StandInPrograms&) = delete;
    StandInPrograms& operator=(const StandInPrograms&) = delete;

    void SetExitCode(int code);

    // One entry per start: "program", "arguments", "files" (content in Base64 by path).
    std::vector<nlohmann::json> Starts() const;

  private:
    std::filesystem::path m_record;
    std::string m_oldPath;
};

}  // namespace kestrix::test
