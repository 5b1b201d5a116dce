// Tests of the process-wide number marks: their defaults, their validation, and their loading
// from the user's locale. The locale tests compile small locales with localedef into a temporary
// folder and point LOCPATH at it, so they do not depend on the locales installed.
#include "numtext/number_marks.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

#include "scoped_number_marks.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#define GATOOL_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/lsan_interface.h>
#define GATOOL_LEAK_CHECKED 1
#endif
#endif

namespace gatool {
namespace {

TEST(NumberMarks, ArePointAndCommaUntilLoaded) {
    EXPECT_EQ(DecimalMark(), ".");
    EXPECT_EQ(GroupMark(), ",");
}

TEST(NumberMarks, TakeOneUtf8CharacterEach) {
    const ScopedNumberMarks restore(".", ",");
    for (const char* mark : {",", "\u202f", "\u066b", "\U0001F600"}) {
        SCOPED_TRACE(mark);
        SetNumberMarks(mark, mark);
        EXPECT_EQ(DecimalMark(), mark);
        EXPECT_EQ(GroupMark(), mark);
    }
    SetNumberMarks(".", ",");
    for (const char* bad : {"", "..", "\xC3", "\x80", "\xE2\x80", "a\u202f", "\xF8\x80\x80\x80"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(SetNumberMarks(bad, ","), std::invalid_argument);
        EXPECT_THROW(SetNumberMarks(".", bad), std::invalid_argument);
        EXPECT_EQ(DecimalMark(), ".");
        EXPECT_EQ(GroupMark(), ",");
    }
}

// Sets environment variables and puts the previous values back on destruction.
class ScopedEnvironment {
  public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    ~ScopedEnvironment() {
        for (const auto& [name, value] : m_saved) {
            Apply(name, value);
        }
    }

    void Set(const std::string& name, std::optional<std::string> value) {
        if (!m_saved.contains(name)) {
            const char* old = std::getenv(name.c_str());
            m_saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        Apply(name, value);
    }

  private:
    static void Apply(const std::string& name, const std::optional<std::string>& value) {
        if (value) {
            setenv(name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }

    std::map<std::string, std::optional<std::string>> m_saved;
};

class LoadNumberMarksFromUserLocaleTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string folder =
            (std::filesystem::temp_directory_path() / "gatool-locales-XXXXXX").string();
        if (mkdtemp(folder.data()) == nullptr) {
            return;
        }
        s_localeFolder = folder;
        CompileLocale("gatool_comma.UTF-8", "UTF-8", "<U002C>", "<U202F>");
        CompileLocale("gatool_comma.ISO-8859-1", "ISO-8859-1", "<U002C>", "<U00A0>");
        CompileLocale("gatool_nogroup.UTF-8", "UTF-8", "<U002C>", "");
        CompileLocale("gatool_twogroup.UTF-8", "UTF-8", "<U002C>", "<U0027><U0027>");
    }

    static void TearDownTestSuite() {
        if (!s_localeFolder.empty()) {
            std::filesystem::remove_all(s_localeFolder);
        }
    }

    // A locale with only a numeric category; localedef warns about the others and still writes it.
    static void CompileLocale(const std::string& name,
                              const std::string& charmap,
                              const std::string& decimalPoint,
                              const std::string& thousandsSep) {
        const std::filesystem::path source = s_localeFolder / (name + ".src");
        std::ofstream(source) << "LC_NUMERIC\n"
                              << "decimal_point \"" << decimalPoint << "\"\n"
                              << "thousands_sep \"" << thousandsSep << "\"\n"
                              << "grouping 3\n"
                              << "END LC_NUMERIC\n";
        const std::string command = "localedef -c -i '" + source.string() + "' -f " + charmap +
                                    " '" + (s_localeFolder / name).string() + "' >/dev/null 2>&1";
        static_cast<void>(std::system(command.c_str()));
    }

    static bool Compiled(const std::string& name) {
        return std::filesystem::exists(s_localeFolder / name / "LC_NUMERIC");
    }

    // Loads the marks with `locale`, from the test's own locale folder, as the user's choice.
    static void LoadWithLocale(const std::string& locale) {
        ScopedEnvironment environment;
        environment.Set("LOCPATH", s_localeFolder.string());
        environment.Set("LC_ALL", locale);
#ifdef GATOOL_LEAK_CHECKED
        // glibc's newlocale leaks the search path it builds from LOCPATH (glibc 2.36). The leak is
        // the library's; what the symbolizer calls glibc's frames depends on the debugging packages
        // installed, so no suppression by name holds. Allocations here are not leak-checked; the
        // test of the installed locale below keeps the marks' own code checked.
        const __lsan::ScopedDisabler libraryLeak;
#endif
        LoadNumberMarksFromUserLocale();
    }

    static void ExpectMarks(const std::string& decimal, const std::string& group) {
        EXPECT_EQ(DecimalMark(), decimal);
        EXPECT_EQ(GroupMark(), group);
    }

    static inline std::filesystem::path s_localeFolder;

    // Marks no locale gives, so that a load that changes nothing shows.
    ScopedNumberMarks m_marks{"x", "y"};
};

TEST_F(LoadNumberMarksFromUserLocaleTest, TakesTheLocaleMarksWithoutChangingTheProcessLocale) {
    if (!Compiled("gatool_comma.UTF-8")) {
        GTEST_SKIP() << "localedef could not build a test locale";
    }
    const std::string processLocale = std::setlocale(LC_ALL, nullptr);
    LoadWithLocale("gatool_comma.UTF-8");
    ExpectMarks(",", "\u202f");
    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), processLocale);
}

TEST_F(LoadNumberMarksFromUserLocaleTest, ConvertsTheMarksOfALegacyCharacterSetToUtf8) {
    if (!Compiled("gatool_comma.ISO-8859-1")) {
        GTEST_SKIP() << "localedef could not build a test locale";
    }
    LoadWithLocale("gatool_comma.ISO-8859-1");
    ExpectMarks(",", "\u00a0");
}

TEST_F(LoadNumberMarksFromUserLocaleTest,
       FallsBackToPointAndCommaWhereTheLocaleGivesNoSingleCharacter) {
    LoadWithLocale("C");  // the C locale has no grouping mark
    ExpectMarks(".", ",");
    SetNumberMarks("x", "y");
    LoadWithLocale("xx_NOSUCH.UTF-8");
    ExpectMarks(".", ",");
    for (const char* locale : {"gatool_nogroup.UTF-8", "gatool_twogroup.UTF-8"}) {
        if (Compiled(locale)) {
            SCOPED_TRACE(locale);
            LoadWithLocale(locale);
            ExpectMarks(",", ",");
        }
    }
}

// Without LOCPATH, so that LeakSanitizer builds check that loading frees what it takes.
TEST_F(LoadNumberMarksFromUserLocaleTest, TakesTheMarksOfAnInstalledLocale) {
    ScopedEnvironment environment;
    environment.Set("LOCPATH", std::nullopt);
    const locale_t installed = newlocale(LC_NUMERIC_MASK, "de_DE.UTF-8", nullptr);
    if (installed == nullptr) {
        GTEST_SKIP() << "the locale de_DE.UTF-8 is not installed";
    }
    freelocale(installed);
    environment.Set("LC_ALL", "de_DE.UTF-8");
    LoadNumberMarksFromUserLocale();
    ExpectMarks(",", ".");
}

}  // namespace
}  // namespace gatool
