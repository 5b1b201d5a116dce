// A runtime folder of the test's own for the private folders, named in XDG_RUNTIME_DIR while it
// lives and removed afterwards.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace kestrix {

class TestRuntimeFolder {
  public:
    explicit TestRuntimeFolder(const std::string& name)
        : m_path(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(m_path);
        setenv("XDG_RUNTIME_DIR", m_path.c_str(), 1);
    }
    ~TestRuntimeFolder() {
        unsetenv("XDG_RUNTIME_DIR");
        std::filesystem::remove_all(m_path);
    }
    TestRuntimeFolder(const TestRuntimeFolder&) = delete;
    TestRuntimeFolder& operator=(const TestRuntimeFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

  private:
    std::filesystem::path m_path;
};

}  // namespace kestrix
