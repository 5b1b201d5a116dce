// \brief Temporary copies of built executables for the source tests.
#include "module_copy.h"

#include "run_program.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace kestrix::test {

ModuleCopy::ModuleCopy(const std::string& executable) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrix-debuginfo-XXXXXX");
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    m_folder = pattern;
    m_path = (m_folder / std::filesystem::path(executable).filename()).string();
    std::filesystem::copy_file(executable, m_path);
}

ModuleCopy::~ModuleCopy() {
    std::error_code error;
    std::filesystem::remove_all(m_folder, error);
}

std::string ModuleCopy::ReadBytes() const {
    std::ifstream file(m_path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void ModuleCopy::WriteBytes(std::string_view bytes) const {
    std::ofstream(m_path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), std::streamsize(bytes.size()));
}

void ModuleCopy::WriteSideFile(std::string_view bytes) const {
    std::ofstream(SideFilePath(), std::ios::binary | std::ios::trunc)
        .write(bytes.data(), std::streamsize(bytes.size()));
}

void ModuleCopy::RunObjcopy(std::initializer_list<const char*> arguments) const {
    std::vector<std::string> command{KESTRIX_OBJCOPY};
    command.insert(command.end(), arguments.begin(), arguments.end());
    command.push_back(m_path);
    const ProgramResult result = RunProgram(command);
    if (result.ExitCode != 0) {
        throw std::runtime_error("objcopy failed on " + m_path + ": " + result.Errors);
    }
}

}  // namespace kestrix::test
