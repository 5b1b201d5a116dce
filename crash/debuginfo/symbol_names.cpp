// \brief Demangling and clone folding of procedure names; unit names from source paths.
#include "crash/debuginfo/symbol_names.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>

namespace kestrix {

std::string ProcedureName(std::string_view symbolName) {
    // A clone suffix starts at the first "." after the mangled name; mangled names hold no ".".
    const std::string parent(symbolName.substr(0, symbolName.find('.')));
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(parent.c_str(), nullptr, nullptr, &status), &std::free);
    return status == 0 && demangled ? std::string(demangled.get()) : parent;
}

std::string UnitName(std::string_view sourcePath) {
    const std::size_t slash = sourcePath.find_last_of('/');
    std::string_view name =
        slash == std::string_view::npos ? sourcePath : sourcePath.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0) {
        name = name.substr(0, dot);
    }
    return std::string(name);
}

}  // namespace kestrix
