// \brief The debug information of the modules of this process, loaded on first use and kept per
// loaded module (a module without information is kept as one without): a lookup reads no file.
// A module loaded later is looked up anew. Safe to call from several threads.
#pragma once

#include <cstdint>
#include <memory>

#include "crash/debuginfo/map_file.h"

namespace kestrix {

// The information of the module that contains the address; an invalid TMapFile for an address
// outside every module or in a module without information.
std::shared_ptr<const TMapFile> FindMapFile(std::uintptr_t address);

MapFileInfos GetMapFileInfos(std::uintptr_t address);

}  // namespace kestrix
