// \brief Kestrix's debug information against libdw on the gatool executable: resolving an address
// to unit, procedure and line once loaded, and loading (read the section, decipher, inflate,
// parse) against libdw's opening of the file and its first answer. Both run on the same addresses
// of the same binary in the same run, so their ratio is measured side by side.
#include <benchmark/benchmark.h>
#include <dwarf.h>
#include <elfutils/libdw.h>
#include <elfutils/libdwfl.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "crash/debuginfo/map_file_loader.h"

namespace {

using kestrix::TMapFile;

const Dwfl_Callbacks OfflineCallbacks = {
    .find_elf = dwfl_build_id_find_elf,
    .find_debuginfo = dwfl_standard_find_debuginfo,
    .section_address = dwfl_offline_section_address,
    .debuginfo_path = nullptr,
};

const TMapFile& GatoolMap() {
    static const TMapFile map = kestrix::LoadModuleMapFile(GATOOL_EXECUTABLE, 0, 0);
    if (!map.Valid()) {
        throw std::runtime_error("no debug information in " GATOOL_EXECUTABLE);
    }
    return map;
}

// Addresses spread over all of gatool's procedures: each procedure's start and a point inside.
const std::vector<std::uintptr_t>& Addresses() {
    static const std::vector<std::uintptr_t> addresses = [] {
        const TMapFile& map = GatoolMap();
        const auto& publics = map.Content().Publics;
        std::vector<std::uintptr_t> list;
        for (std::size_t i = 0; i + 1 < publics.size(); ++i) {
            const std::uintptr_t start = map.BaseOfCode() + publics[i].Address;
            const std::uintptr_t next = map.BaseOfCode() + publics[i + 1].Address;
            list.push_back(start);
            list.push_back(start + (next - start) / 2);
        }
        return list;
    }();
    return addresses;
}

struct LibdwSession {
    Dwfl* Session = dwfl_begin(&OfflineCallbacks);
    Dwfl_Module* Module = nullptr;
    GElf_Addr Bias = 0;

    LibdwSession() {
        Module = dwfl_report_offline(Session, "", GATOOL_EXECUTABLE, -1);
        dwfl_report_end(Session, nullptr, nullptr);
        if (Module == nullptr) {
            throw std::runtime_error("libdw cannot open " GATOOL_EXECUTABLE);
        }
        dwfl_module_getelf(Module, &Bias);
    }
    ~LibdwSession() { dwfl_end(Session); }
    LibdwSession(const LibdwSession&) = delete;
    LibdwSession& operator=(const LibdwSession&) = delete;

    // Procedure name, unit and line, as Kestrix answers them.
    void Resolve(std::uintptr_t address, benchmark::State&) const {
        GElf_Off offset = 0;
        GElf_Sym symbol;
        const char* name = dwfl_module_addrinfo(Module, address + Bias, &offset, &symbol, nullptr,
                                                nullptr, nullptr);
        benchmark::DoNotOptimize(name);
        Dwarf_Addr unitBias = 0;
        Dwarf_Die* unit = dwfl_module_addrdie(Module, address + Bias, &unitBias);
        benchmark::DoNotOptimize(unit != nullptr ? dwarf_diename(unit) : nullptr);
        int line = 0;
        if (Dwfl_Line* row = dwfl_module_getsrc(Module, address + Bias)) {
            dwfl_lineinfo(row, nullptr, &line, nullptr, nullptr, nullptr);
        }
        benchmark::DoNotOptimize(line);
    }
};

void KestrixResolve(benchmark::State& state) {
    const TMapFile& map = GatoolMap();
    const auto& addresses = Addresses();
    std::size_t next = 0;
    for (auto _ : state) {
        const std::uintptr_t address = addresses[next];
        next = next + 1 == addresses.size() ? 0 : next + 1;
        benchmark::DoNotOptimize(map.FindSegment(address));
        benchmark::DoNotOptimize(map.FindPublic(address));
        benchmark::DoNotOptimize(map.FindLine(address));
    }
    state.counters["addresses"] = double(addresses.size());
}
BENCHMARK(KestrixResolve);

void LibdwResolve(benchmark::State& state) {
    const LibdwSession libdw;
    const auto& addresses = Addresses();
    for (const std::uintptr_t address : addresses) {
        libdw.Resolve(address, state);  // warm: every unit's lines parsed before timing
    }
    std::size_t next = 0;
    for (auto _ : state) {
        libdw.Resolve(addresses[next], state);
        next = next + 1 == addresses.size() ? 0 : next + 1;
    }
}
BENCHMARK(LibdwResolve);

// The first answer is for an address of gatool's own code (its entry function), so that libdw
// has to find its unit and read that unit's lines, as it would for a report.
std::uintptr_t FirstAddress() {
    static const std::uintptr_t address = [] {
        const auto entry = GatoolMap().FindPublic("main", "main");
        if (!entry) {
            throw std::runtime_error("no procedure main in unit main of " GATOOL_EXECUTABLE);
        }
        return entry->Address + 8;
    }();
    return address;
}

void KestrixLoad(benchmark::State& state) {
    for (auto _ : state) {
        const TMapFile map = kestrix::LoadModuleMapFile(GATOOL_EXECUTABLE, 0, 0);
        benchmark::DoNotOptimize(map.FindLine(FirstAddress()));
    }
}
BENCHMARK(KestrixLoad)->Unit(benchmark::kMillisecond);

void LibdwOpenAndFirstAnswer(benchmark::State& state) {
    for (auto _ : state) {
        const LibdwSession libdw;
        libdw.Resolve(FirstAddress(), state);
    }
}
BENCHMARK(LibdwOpenAndFirstAnswer)->Unit(benchmark::kMillisecond);

}  // namespace
