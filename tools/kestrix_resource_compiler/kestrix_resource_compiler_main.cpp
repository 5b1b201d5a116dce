// \brief Build-time compiler of Kestrix resource definitions into binary form streams.
//
//   kestrix_resource_compiler --source OUT.cpp DEFINITION...   one C++ source registering them all
//   kestrix_resource_compiler --binary OUT.bin DEFINITION      the bare stream (fuzzing seeds)
//   kestrix_resource_compiler --password PLAIN SERVER ACCOUNT  the stored form of a password
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "crash/settings/form_stream_writer.h"
#include "crash/settings/report_cipher.h"
#include "resource_definition.h"
#include "resource_source.h"

namespace {

constexpr const char* Usage =
    "usage: kestrix_resource_compiler --source OUT.cpp DEFINITION...\n"
    "       kestrix_resource_compiler --binary OUT.bin DEFINITION\n"
    "       kestrix_resource_compiler --password PLAIN SERVER ACCOUNT\n";

kestrix::CompiledResource Compile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error(path + ": cannot be read");
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const kestrix::ResourceDefinition definition = kestrix::ParseResourceDefinition(text, path);
    try {
        return {definition.ResourceName, std::filesystem::path(path).filename().string(),
                kestrix::WriteFormStream(definition.Root)};
    } catch (const std::invalid_argument& error) {
        throw std::runtime_error(path + ": " + error.what());
    }
}

// Written through a temporary file, so that a failed run leaves no half output for the build.
void WriteFile(const std::string& path, std::string_view bytes) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out) {
            throw std::runtime_error(path + ": cannot be written");
        }
    }
    std::filesystem::rename(temporary, path);
}

int Run(const std::vector<std::string>& args) {
    if (args.size() >= 3 && args[0] == "--source") {
        std::vector<kestrix::CompiledResource> resources;
        for (std::size_t i = 2; i < args.size(); ++i) {
            resources.push_back(Compile(args[i]));
        }
        WriteFile(args[1], kestrix::GenerateResourceSource(resources));
        return 0;
    }
    if (args.size() == 3 && args[0] == "--binary") {
        const std::vector<std::uint8_t> bytes = Compile(args[2]).Bytes;
        WriteFile(args[1], {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
        return 0;
    }
    if (args.size() == 4 && args[0] == "--password") {
        std::cout << kestrix::EncipherStoredPassword(args[1], args[2], args[3]) << '\n';
        return 0;
    }
    std::cerr << Usage;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run({argv + 1, argv + argc});
    } catch (const std::exception& error) {
        std::cerr << "kestrix_resource_compiler: " << error.what() << '\n';
        return 1;
    }
}
