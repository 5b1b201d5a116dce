// \brief The "file version" of a module. ELF objects carry none: the executable's version is the
// one the program gives the reporter (its build's project version), a shared library's version
// is the number after ".so." in the name of the file its path finally leads to.
#pragma once

#include <string>
#include <string_view>

namespace kestrix {

// Called by the program at start-up with its project version; a version of fewer than four
// numbers is completed with zeros ("1.2" gives "1.2.0.0").
void SetExecutableFileVersion(std::string_view version);
std::string ExecutableFileVersion();

// "libQt6Core.so.6" leading to "libQt6Core.so.6.4.2" gives "6.4.2"; empty without such a number.
std::string LibraryFileVersion(const std::string& path);

// The version part of a library file name alone: the digits and dots after the last ".so.".
std::string SharedObjectVersion(std::string_view fileName);

}  // namespace kestrix
