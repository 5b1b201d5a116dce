// \brief The module cache: the ELF objects mapped in this process (the executable and each shared
// library) with their code and data ranges and their debug information, found on first use and
// kept for the life of the process. A module loaded later is added when an address in it is first
// asked for. Safe to call from several threads.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "crash/debuginfo/map_file.h"

namespace kestrix {

struct TModuleEntry {
    std::uintptr_t Handle = 0;  // the load address of the image's first segment
    std::uintptr_t ImageEnd = 0;
    std::string FileName;  // without folder
    std::string Path;
    // The executable segments, and the writable ones: [start, end).
    std::uintptr_t CodeStart = 0;
    std::uintptr_t CodeEnd = 0;
    std::uintptr_t DataStart = 0;
    std::uintptr_t DataEnd = 0;
    std::uintptr_t EntryPoint = 0;  // 0 when the object has none
    bool IsExecutable = false;
    // The module's debug information when it is valid, otherwise none.
    std::shared_ptr<const TMapFile> MapFile;

    bool InImage(std::uintptr_t address) const { return address >= Handle && address < ImageEnd; }
    bool InCode(std::uintptr_t address) const { return address >= CodeStart && address < CodeEnd; }
    // The basic test's rule for a return address: above the start and not above the end of the
    // code range or of the data range.
    bool AcceptsReturnAddress(std::uintptr_t address) const {
        return (address > CodeStart && address <= CodeEnd) ||
               (address > DataStart && address <= DataEnd);
    }
};

// The module whose image contains the address, or none. The entry stays valid for the life of the
// process.
const TModuleEntry* FindModule(std::uintptr_t address);

}  // namespace kestrix
