// \brief The generated C++ source that links compiled resources into a module and registers them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrix {

struct CompiledResource {
    std::string Name;
    std::string SourceName;  // the definition it was compiled from, for the generated comment
    std::vector<std::uint8_t> Bytes;
};

std::string GenerateResourceSource(const std::vector<CompiledResource>& resources);

}  // namespace kestrix
