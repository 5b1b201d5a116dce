// \brief kestrix_debuginfo_writer: writes the debug-information container of a linked executable or
// shared object, for the build step that embeds it in a section of that file.
//
//   kestrix_debuginfo_writer --container OUT [--kes FULL --identification ID] ELF-FILE
//
// The public symbols come from the file's function symbols, the units, their segments and the line
// table from its DWARF through libdw. With --kes the container is minimal (addresses only), the
// full one goes to FULL, and ID receives the full one's identification for the section beside it.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "crash/debuginfo/debug_info_container.h"
#include "crash/debuginfo/elf_file.h"
#include "crash/debuginfo/function_publics.h"
#include "crash/debuginfo/map_file_stream.h"
#include "dwarf_units.h"

namespace {

struct Options {
    std::string Input;
    std::string Container;
    std::optional<std::string> FullContainer;
    std::optional<std::string> Identification;
};

constexpr std::string_view Usage =
    "usage: kestrix_debuginfo_writer --container OUT [--kes FULL --identification ID] ELF-FILE\n";

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--container" && hasValue) {
            options.Container = argv[++i];
        } else if (argument == "--kes" && hasValue) {
            options.FullContainer = argv[++i];
        } else if (argument == "--identification" && hasValue) {
            options.Identification = argv[++i];
        } else if (!argument.starts_with("--") && options.Input.empty()) {
            options.Input = argument;
        } else {
            return std::nullopt;
        }
    }
    if (options.Input.empty() || options.Container.empty() ||
        options.FullContainer.has_value() != options.Identification.has_value()) {
        return std::nullopt;
    }
    return options;
}

void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), std::streamsize(bytes.size()));
    if (!file.flush()) {
        throw std::runtime_error("cannot write " + path);
    }
}

kestrix::MapFileContent ReadContent(const std::string& path) {
    const kestrix::ElfFile file(path);
    const kestrix::ElfImageRanges ranges = file.Ranges();
    kestrix::MapFileContent content;
    kestrix::AddFunctionPublics(content, file.FunctionSymbols(), ranges);
    kestrix::AddDwarfUnits(content, path, ranges);
    content.EntryPoint = std::uint32_t(ranges.EntryPoint - ranges.BaseOfCode);
    content.Sort();
    kestrix::DropRepeatedLines(content);
    return content;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        std::cerr << Usage;
        return 2;
    }
    try {
        const kestrix::MapFileContent content = ReadContent(options->Input);
        const std::string full =
            kestrix::WriteDebugInfoContainer(kestrix::WriteMapFileStream(content, false), 3, false);
        if (!options->FullContainer) {
            WriteFile(options->Container, full);
            return 0;
        }
        WriteFile(*options->FullContainer, full);
        WriteFile(*options->Identification,
                  kestrix::DebugInfoIdentification(kestrix::ReadDebugInfoContainer(full)->Header));
        WriteFile(options->Container, kestrix::WriteDebugInfoContainer(
                                          kestrix::WriteMapFileStream(content, true), 3, true));
    } catch (const std::exception& error) {
        std::cerr << "kestrix_debuginfo_writer: " << options->Input << ": " << error.what() << '\n';
        return 1;
    }
    return 0;
}
