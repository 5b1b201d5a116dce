// \brief What the report header says about the program: its command line, a module file's
// last-write time, and the language of the user's locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class QLocale;

namespace kestrix {

// The arguments of /proc/self/cmdline joined by blanks; none when the program got no arguments.
std::optional<std::string> CommandLine();
std::optional<std::string> CommandLineOf(std::string_view nulSeparatedArguments);

// The file's last-write time, local, as "2026-12-10 13:16".
std::optional<std::string> ModuleDateTime(const std::string& path);

// The locale's language and territory names: "German (Germany)".
std::string LanguageName(const QLocale& locale);
std::string SystemLanguage();

}  // namespace kestrix
