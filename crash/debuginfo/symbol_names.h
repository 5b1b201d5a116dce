// \brief Procedure names from ELF symbol names: demangled, and with the parts the compiler split
// off a function (".cold", ".part.0", "[clone .isra.0]" and the like) named as their parent.
#pragma once

#include <string>
#include <string_view>

namespace kestrix {

// "_ZN1a1bEv.cold" and "_ZN1a1bEv" both give "a::b()"; a C name keeps its text before any ".".
std::string ProcedureName(std::string_view symbolName);

// The source file name without folder and extension: "/src/app/main.cpp" gives "main".
std::string UnitName(std::string_view sourcePath);

}  // namespace kestrix
