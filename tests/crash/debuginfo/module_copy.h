// \brief Copies of a built executable in a private temporary folder, with damage or side files,
// for the tests of the information sources.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kestrix::test {

class ModuleCopy {
  public:
    // Copies `executable` into a fresh folder under its own file name.
    explicit ModuleCopy(const std::string& executable);
    ~ModuleCopy();
    ModuleCopy(const ModuleCopy&) = delete;
    ModuleCopy& operator=(const ModuleCopy&) = delete;

    const std::string& Path() const { return m_path; }
    std::string SideFilePath() const { return m_path + ".kes"; }

    std::string ReadBytes() const;
    void WriteBytes(std::string_view bytes) const;
    void WriteSideFile(std::string_view bytes) const;
    // Runs objcopy with the arguments and then the copy's path (no shell).
    void RunObjcopy(std::initializer_list<const char*> arguments) const;

  private:
    std::filesystem::path m_folder;
    std::string m_path;
};

}  // namespace kestrix::test
