// \brief ga_sample_generator: writes a generated GA file to a file or to standard output.
//
// Exit codes: 0 on success, 1 when the file cannot be generated or written, 2 for a command line
// that cannot be used.
#include <exception>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "base/exceptions.h"
#include "tools/ga_sample/ga_sample_options.h"
#include "tools/ga_sample/ga_sample_writer.h"

namespace {

constexpr std::string_view ProgramName = "ga_sample_generator";

// Binary mode keeps the CR LF line ends exactly as generated.
void WriteText(const std::string& text, const std::string& outputPath) {
    if (outputPath.empty()) {
        std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
        std::cout.flush();
        if (!std::cout) {
            throw gatool::Exception("cannot write to standard output");
        }
        return;
    }
    std::ofstream file(outputPath, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file) {
        throw gatool::Exception("cannot write '" + outputPath + "'");
    }
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::vector<std::string_view> arguments(argv + 1, argv + argc);
        const gatool::GeneratorOptions options = gatool::ParseGeneratorOptions(arguments);
        if (options.ShowHelp) {
            std::cout << gatool::GeneratorUsage();
            return 0;
        }
        WriteText(gatool::GenerateGaText(options.Parameters), options.OutputPath);
        return 0;
    } catch (const gatool::OptionError& error) {
        std::cerr << ProgramName << ": " << error.what() << " (see --help)\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << ProgramName << ": " << error.what() << '\n';
        return 1;
    }
}
