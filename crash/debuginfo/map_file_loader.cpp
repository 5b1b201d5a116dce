// \brief The sources of a module's debug information, tried in order.
#include "crash/debuginfo/map_file_loader.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "crash/debuginfo/debug_info_container.h"
#include "crash/debuginfo/dwarf_line_program.h"
#include "crash/debuginfo/elf_file.h"
#include "crash/debuginfo/function_publics.h"
#include "crash/debuginfo/map_file_stream.h"
#include "crash/debuginfo/packed_stream.h"
#include "crash/debuginfo/symbol_names.h"

namespace kestrix {
namespace {

struct LoadedContainer {
    MapFileContent Content;
    DebugInfoHeader Header;
};

std::optional<LoadedContainer> ParseContainer(std::string_view bytes) {
    auto container = ReadDebugInfoContainer(bytes);
    if (!container) {
        return std::nullopt;
    }
    try {
        return LoadedContainer{
            ReadMapFileStream(std::move(container->PlainStream), container->Header.Minimal()),
            container->Header};
    } catch (const DebugInfoFormatError&) {
        return std::nullopt;
    }
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::optional<LoadedContainer> SideFileContainer(const std::string& path) {
    const auto bytes = ReadWholeFile(path);
    return bytes ? ParseContainer(*bytes) : std::nullopt;
}

std::optional<MapFileContent> SymbolTableContent(const ElfFile& file,
                                                 const ElfImageRanges& ranges,
                                                 const std::string& moduleFileName) {
    std::vector<ElfFunctionSymbol> symbols = file.FunctionSymbols();
    if (symbols.empty()) {
        return std::nullopt;
    }
    MapFileContent content;
    AddFunctionPublics(content, std::move(symbols), ranges);
    content.Segments.push_back({0, std::uint32_t(ranges.TopOfCode - ranges.BaseOfCode),
                                content.AddName(UnitName(moduleFileName)), false});
    try {
        if (const auto debugLine = file.Section(".debug_line")) {
            LineRows rows(ranges, TLineRowOrder::ProgramOrder);
            ReadDwarfLinePrograms(*debugLine, rows);
            rows.MoveInto(content);
            content.Segments.front().HasLines = !content.Lines.empty();
        }
    } catch (const DebugInfoFormatError&) {
        // Damaged or compressed line programs: the symbols still name the procedures.
        content.Lines.clear();
    }
    content.EntryPoint = std::uint32_t(ranges.EntryPoint - ranges.BaseOfCode);
    content.Sort();
    return content;
}

}  // namespace

TMapFile LoadModuleMapFile(const std::string& path,
                           std::uintptr_t loadBias,
                           std::uintptr_t moduleHandle) {
    try {
        const ElfFile file(path);
        const ElfImageRanges ranges = file.Ranges();
        const ModuleAddresses addresses{moduleHandle, loadBias + ranges.BaseOfCode,
                                        loadBias + ranges.TopOfCode,
                                        ranges.BaseOfData ? loadBias + ranges.BaseOfData : 0,
                                        ranges.TopOfData ? loadBias + ranges.TopOfData : 0};
        const std::string moduleFileName = std::filesystem::path(path).filename().string();
        const std::string sideFile = path + std::string(DebugInfoFileExtension);
        const auto make = [&](MapFileContent content, const std::string& source) {
            TMapFile map(std::move(content), addresses);
            map.SetFileNames(moduleFileName, source);
            return map;
        };

        if (const auto section = file.Section(DebugInfoSectionName)) {
            if (auto embedded = ParseContainer(*section)) {
                if (!embedded->Header.Minimal()) {
                    return make(std::move(embedded->Content), path);
                }
                const std::string identification =
                    file.Section(DebugInfoIdSectionName).value_or(std::string());
                auto full = SideFileContainer(sideFile);
                if (full && !full->Header.Minimal() &&
                    DebugInfoIdentification(full->Header) == identification) {
                    return make(std::move(full->Content), sideFile);
                }
                TMapFile minimal = make(std::move(embedded->Content), path);
                minimal.SetMinDebugInfo(identification);
                return minimal;
            }
        }
        if (auto symbols = SymbolTableContent(file, ranges, moduleFileName)) {
            return make(std::move(*symbols), path);
        }
        if (auto side = SideFileContainer(sideFile)) {
            return make(std::move(side->Content), sideFile);
        }
    } catch (const std::exception&) {
        // Any failure while loading leaves the module without information.
    }
    return {};
}

}  // namespace kestrix
