// \brief Program facts: the command line, a file's time and the locale's language.
#include "crash/report/process_facts.h"

#include <gtest/gtest.h>
#include <QLocale>

#include <sys/stat.h>
#include <utime.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace kestrix {
namespace {

TEST(ProcessFacts, TheCommandLineJoinsTheArgumentsAndNeedsOne) {
    using namespace std::string_view_literals;
    EXPECT_EQ(CommandLineOf("gatool\0analyze\0GA1.TXT\0"sv), "gatool analyze GA1.TXT");
    EXPECT_EQ(CommandLineOf("gatool\0\0"sv), "gatool ");
    EXPECT_EQ(CommandLineOf("gatool\0"sv), std::nullopt);
    EXPECT_EQ(CommandLineOf(""sv), std::nullopt);
    // This test runs with a filter argument under CTest; the program's own name comes first.
    if (const auto line = CommandLine()) {
        EXPECT_TRUE(line->starts_with(std::string(program_invocation_name) + " ")) << *line;
    }
}

TEST(ProcessFacts, AModulesTimeIsItsLastWriteInLocalTime) {
    char path[] = "/tmp/kestrix_module_time_XXXXXX";
    const int descriptor = mkstemp(path);
    ASSERT_GE(descriptor, 0);
    const char* zone = std::getenv("TZ");
    const std::string savedZone = zone != nullptr ? zone : "";
    setenv("TZ", "UTC", 1);
    tzset();
    // 2026-12-10 13:16:56 UTC
    const utimbuf times{1796908616, 1796908616};
    ASSERT_EQ(utime(path, &times), 0);
    EXPECT_EQ(ModuleDateTime(path), "2026-12-10 13:16");
    if (zone != nullptr)
        setenv("TZ", savedZone.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
    std::remove(path);
    EXPECT_EQ(ModuleDateTime(path), std::nullopt);
}

TEST(ProcessFacts, TheLanguageIsNamedWithItsTerritory) {
    EXPECT_EQ(LanguageName(QLocale(QLocale::German, QLocale::Germany)), "German (Germany)");
    EXPECT_EQ(LanguageName(QLocale(QLocale::English, QLocale::UnitedStates)),
              "English (United States)");
    EXPECT_FALSE(SystemLanguage().empty());
}

}  // namespace
}  // namespace kestrix
