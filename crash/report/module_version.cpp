// \brief Module versions from the program and from library file names.
#include "crash/report/module_version.h"

#include <algorithm>
#include <filesystem>
#include <mutex>

namespace kestrix {
namespace {

std::mutex g_versionGuard;
std::string g_executableVersion;

}  // namespace

void SetExecutableFileVersion(std::string_view version) {
    std::string fourNumbers(version);
    if (!fourNumbers.empty()) {
        for (auto dots = std::count(version.begin(), version.end(), '.'); dots < 3; ++dots)
            fourNumbers += ".0";
    }
    const std::lock_guard lock(g_versionGuard);
    g_executableVersion = std::move(fourNumbers);
}

std::string ExecutableFileVersion() {
    const std::lock_guard lock(g_versionGuard);
    return g_executableVersion;
}

std::string LibraryFileVersion(const std::string& path) {
    std::error_code error;
    const std::filesystem::path real = std::filesystem::canonical(path, error);
    return SharedObjectVersion((error ? std::filesystem::path(path) : real).filename().string());
}

std::string SharedObjectVersion(std::string_view fileName) {
    const std::size_t at = fileName.rfind(".so.");
    if (at == std::string_view::npos)
        return {};
    const std::string_view version = fileName.substr(at + 4);
    if (version.empty() || version.find_first_not_of("0123456789.") != std::string_view::npos)
        return {};
    return std::string(version);
}

}  // namespace kestrix
