// \brief Program facts.
#include "crash/report/process_facts.h"

#include <QLocale>

#include <sys/stat.h>

#include <algorithm>

#include <fstream>
#include <sstream>

#include "crash/report/header_field_texts.h"

namespace kestrix {

std::optional<std::string> CommandLineOf(std::string_view nulSeparatedArguments) {
    if (nulSeparatedArguments.ends_with('\0'))
        nulSeparatedArguments.remove_suffix(1);
    const std::size_t firstEnd = nulSeparatedArguments.find('\0');
    if (firstEnd == std::string_view::npos)
        return std::nullopt;
    std::string line(nulSeparatedArguments);
    std::replace(line.begin(), line.end(), '\0', ' ');
    return line;
}

std::optional<std::string> CommandLine() {
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return CommandLineOf(content.str());
}

std::optional<std::string> ModuleDateTime(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return std::nullopt;
    const std::chrono::system_clock::time_point written{
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::seconds(status.st_mtim.tv_sec))};
    return ModuleDateTimeText(LocalReportTime(written));
}

std::string LanguageName(const QLocale& locale) {
    return (QLocale::languageToString(locale.language()) + " (" +
            QLocale::territoryToString(locale.territory()) + ")")
        .toStdString();
}

std::string SystemLanguage() {
    return LanguageName(QLocale::system());
}

}  // namespace kestrix
