// \brief The report header: its fields in order, the failure's fields and their variants, and
// the add position that keeps the failure's fields last.
#include "crash/report/report_header.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "crash/report/resource_facts.h"

namespace kestrix {
namespace {

std::vector<std::string> Names(const IKXFields& fields) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < fields.Count(); ++i)
        names.push_back(fields.Name(i));
    return names;
}

class ReportHeaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        unsetenv("SSH_CLIENT");
        unsetenv("SSH_CONNECTION");
        m_values.ProgramUpTimeMilliseconds = 750;
        m_values.DisplayMode = "1920x1080, 24 bit";
        m_values.AddCommandLine = false;
        m_values.Version = "1.2.3.4";
        m_values.PluginFields = {{"build", "42"}};
        m_values.ExceptionNumber = 7;
        m_values.ExceptionClass = "EZeroDivide";
        m_values.ExceptionMessage = "Floating point division by zero!!";
        m_values.FrozenMessage = "The application seems to be frozen.";
    }

    std::shared_ptr<IKXFields> Filled() {
        auto header = NewFields();
        FillReportHeader(*header, m_values);
        return header;
    }

    THeaderValues m_values;
};

TEST_F(ReportHeaderTest, ListsEveryFieldInOrder) {
    const auto header = Filled();
    const auto processors = Processors();
    ASSERT_TRUE(processors.has_value());
    EXPECT_EQ(Names(*header),
              (std::vector<std::string>{
                  "date/time",        "computer name",
                  "user name",        "operating system",
                  "system language",  "system up time",
                  "program up time",  processors->Count > 1 ? "processors" : "processor",
                  "physical memory",  "free disk space",
                  "display mode",     "process id",
                  "allocated memory", "executable",
                  "exec. date/time",  "version",
                  "Kestrix version",  "build",
                  "callstack crc",    "exception number",
                  "exception class",  "exception message"}));
    EXPECT_EQ(header->ContentOf("program up time"), "750 milliseconds");
    EXPECT_EQ(header->ContentOf("display mode"), "1920x1080, 24 bit");
    EXPECT_EQ(header->ContentOf("version"), "1.2.3.4");
    EXPECT_EQ(header->ContentOf("Kestrix version"), "3.0b");
    EXPECT_EQ(header->ContentOf("build"), "42");
    EXPECT_EQ(header->ContentOf("callstack crc"), "will be calculated soon");
    EXPECT_EQ(header->ContentOf("exception number"), "7");
    EXPECT_EQ(header->ContentOf("exception class"), "EZeroDivide");
    EXPECT_EQ(header->ContentOf("exception message"), "Floating point division by zero.");
    EXPECT_EQ(header->ContentOf("process id").front(), '$');
}

TEST_F(ReportHeaderTest, FieldsAddedLaterComeBeforeTheFailuresFields) {
    const auto header = Filled();
    header->SetContent("contact", "operator");
    header->SetContent("gatool.kes", "minimal");
    const auto names = Names(*header);
    ASSERT_GE(names.size(), 6u);
    EXPECT_EQ(
        std::vector<std::string>(names.end() - 6, names.end()),
        (std::vector<std::string>{"contact", "gatool.kes", "callstack crc", "exception number",
                                  "exception class", "exception message"}));
}

TEST_F(ReportHeaderTest, AFrozenThreadHasOnlyTheFrozenMessage) {
    m_values.Frozen = true;
    const auto header = Filled();
    const auto names = Names(*header);
    EXPECT_EQ(std::vector<std::string>(names.end() - 3, names.end()),
              (std::vector<std::string>{"callstack crc", "exception number", "exception message"}));
    EXPECT_EQ(header->ContentOf("exception message"), "The application seems to be frozen.");
}

TEST_F(ReportHeaderTest, TheClassAndTheMessageVariants) {
    struct Case {
        const char* what;
        std::string className;
        std::string message;
        std::string expectedClass;
        std::optional<std::string> expectedMessage;
    };
    for (const Case& c : {
             Case{"a message equal to the class name is left out", "EAbort", "EAbort", "EAbort",
                  std::nullopt},
             Case{"no exception object", "", "", "Unknown", std::nullopt},
             Case{"an empty message is unknown", "Exception", " \a ", "Exception", "Unknown."},
             Case{"line breaks stay in the field", "Exception", "one\r\ntwo", "Exception",
                  "one\r\ntwo."},
         }) {
        SCOPED_TRACE(c.what);
        m_values.ExceptionClass = c.className;
        m_values.ExceptionMessage = c.message;
        const auto header = Filled();
        EXPECT_EQ(header->ContentOf("exception class"), c.expectedClass);
        EXPECT_EQ(header->Find("exception message").has_value(), c.expectedMessage.has_value());
        if (c.expectedMessage) {
            EXPECT_EQ(header->ContentOf("exception message"), *c.expectedMessage);
        }
    }
}

TEST_F(ReportHeaderTest, TheOptionalFieldsAppearWhenTheirConditionsHold) {
    setenv("SSH_CLIENT", "192.0.2.7 52000 22", 1);
    m_values.AddCommandLine = true;
    m_values.DisplayMode.reset();
    m_values.CurrentModulePath = "/proc/self/exe";
    const auto header = Filled();
    unsetenv("SSH_CLIENT");
    EXPECT_EQ(header->ContentOf("wts client name"), "192.0.2.7");
    EXPECT_FALSE(header->Find("display mode").has_value());
    EXPECT_TRUE(header->Find("current module").has_value());
    EXPECT_TRUE(header->Find("module date/time").has_value());
    EXPECT_FALSE(header->Find("exec. date/time").has_value());
}

}  // namespace
}  // namespace kestrix
