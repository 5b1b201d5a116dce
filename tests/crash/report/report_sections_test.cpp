// \brief Which threads the report lists and in which order, and the sections' placeholders.
#include "crash/report/report_sections.h"

#include <gtest/gtest.h>

#include "crash/report/report_rendering.h"

namespace kestrix {
namespace {

TEST(ReportThreads, TheCrashedThreadFirstThenTheMainThreadThenTheOthers) {
    const std::vector<pid_t> process{100, 101, 102, 103, 104};
    const std::vector<pid_t> reporter{103};
    struct Case {
        const char* what;
        pid_t crashed;
        bool frozen;
        bool listThreads;
        std::vector<pid_t> expected;
    };
    for (const Case& c : {
             Case{"a worker's failure", 102, false, true, {102, 100, 101, 104}},
             Case{"a failure in the main thread lists it once, first",
                  100,
                  false,
                  true,
                  {100, 101, 102, 104}},
             Case{"without ListThreads", 102, false, false, {102, 100}},
             Case{"without ListThreads in the main thread", 100, false, false, {100}},
             Case{"a frozen program starts with the main thread",
                  103,
                  true,
                  true,
                  {100, 101, 102, 104}},
             Case{"a frozen program without ListThreads", 103, true, false, {100}},
         }) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReportThreads(c.crashed, 100, c.frozen, c.listThreads, process, reporter),
                  c.expected);
    }
}

TEST(CreateReportSections, PlaceholdersInTheSectionsOrder) {
    const auto header = NewFields();
    const auto sections = NewFields();
    CreateReportSections(*sections, {{{"worker ($66):", "0000555555554abc +0 ???"},
                                      {"main thread ($64):", "00007f0000001000 +0 ???"}},
                                     {"modules", "processes"},
                                     true,
                                     false,
                                     true});
    EXPECT_EQ(RenderBugReport(*header, *sections),
              "\r\n\r\nworker ($66):\r\n0000555555554abc +0 ???\r\n>> stack will be calculated soon"
              "\r\n\r\nmain thread ($64):\r\n00007f0000001000 +0 ???\r\n"
              ">> stack will be calculated soon"
              "\r\n\r\nmodules:\r\n>> will be calculated soon"
              "\r\n\r\nprocesses:\r\n>> will be calculated soon"
              "\r\n\r\ncpu registers:\r\n>> will be calculated soon"
              "\r\n\r\ndisassembling:\r\n>> will be calculated soon");
}

}  // namespace
}  // namespace kestrix
