// The full report of a real failure in a process with several threads: header fields in order,
// thread sections with named call stacks, registers and the other sections, the completion with
// its countdown, abort flag and phase, the wait window, internal errors of a part.
#include "crash/report/bug_report.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <thread>

#include "crash/core/handler_registry.h"
#include "crash/core/ikx_exception.h"
#include "crash/report/bug_report_plugins.h"
#include "crash/report/header_field_texts.h"
#include "crash/report/hex_text.h"
#include "crash/report/report_wait_window.h"
#include "crash/report/text_lines.h"
#include "crash/threads/thread_context_capture.h"
#include "crash/threads/thread_registry.h"
#include "tests/crash/core/runtime_folder.h"
#include "tests/crash/report/failure_scene.h"

namespace kestrix {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

std::vector<std::string> Names(const IKXFields& fields) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < fields.Count(); ++i)
        names.push_back(fields.Name(i));
    return names;
}

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    for (const std::string_view line : SplitLines(text))
        lines.emplace_back(line);
    return lines;
}

class BugReportTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { JoinThreadRegistry(); }
    static void TearDownTestSuite() { LeaveThreadRegistry(); }

    static std::string MainTitle() { return ThreadDisplayText(MainThreadId()) + ":"; }
};

TEST_F(BugReportTest, HeaderHasEveryObtainableFieldInOrderWithTheFailureLast) {
    const auto report = StartBugReport(test::CaughtTestFailure());
    ASSERT_TRUE(report->IsComplete());
    const std::vector<std::string> order{
        "date/time",        "computer name",    "wts client name",  "user name",
        "operating system", "system language",  "system up time",   "program up time",
        "processor",        "processors",       "physical memory",  "free disk space",
        "display mode",     "process id",       "allocated memory", "command line",
        "executable",       "exec. date/time",  "version",          "Kestrix version",
        "callstack crc",    "exception number", "exception class",  "exception message"};
    const std::vector<std::string> names = Names(*report->Header());
    std::size_t previous = 0;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const auto position = std::find(order.begin(), order.end(), name);
        ASSERT_NE(position, order.end());
        const auto index = static_cast<std::size_t>(position - order.begin());
        EXPECT_GE(index, previous);
        previous = index;
    }
    for (const char* always : {"date/time", "user name", "operating system", "program up time",
                               "physical memory", "process id", "executable", "Kestrix version"})
        EXPECT_NE(report->Header()->Find(always), std::nullopt) << always;
    ASSERT_GE(names.size(), 4U);
    EXPECT_THAT(
        std::vector(names.end() - 4, names.end()),
        ElementsAre("callstack crc", "exception number", "exception class", "exception message"));
    EXPECT_EQ(report->Header()->ContentOf("exception class"), "runtime_error");
    EXPECT_EQ(report->Header()->ContentOf("exception message"), "Floating point division by zero.");
    const auto [crc1, crc2, crc3] = report->Checksums();
    EXPECT_NE(crc1, 0U);
    EXPECT_EQ(report->Header()->ContentOf("callstack crc"), CallstackCrcText(crc1, crc2, crc3));
}

TEST_F(BugReportTest, EachReportOfTheProcessGetsTheNextNumber) {
    const auto first = StartBugReport(test::CaughtTestFailure());
    const auto second = StartBugReport(test::CaughtTestFailure());
    EXPECT_EQ(std::stoul(second->Header()->ContentOf("exception number")),
              std::stoul(first->Header()->ContentOf("exception number")) + 1);
}

TEST_F(BugReportTest, SectionsListTheCrashedThreadFirstThenTheOthersThenTheRest) {
    std::atomic<ThreadId> lowered{0};
    const test::WaitingThreads workers(3, [&](std::size_t index) {
        if (index == 1) {
            setpriority(PRIO_PROCESS, static_cast<id_t>(CurrentThreadId()), 5);
            lowered = CurrentThreadId();
        }
    });
    const auto report = StartBugReport(test::CaughtTestFailure());
    ASSERT_TRUE(report->IsComplete());

    std::vector<ThreadId> ids = workers.Ids();
    std::sort(ids.begin(), ids.end());  // the system lists a process's threads in this order
    std::vector<std::string> expected{MainTitle()};
    for (const ThreadId id : ids)
        expected.push_back(ThreadDisplayText(id) + ":" + (id == lowered ? " <priority:5>" : ""));
    for (const char* rest :
         {"modules", "processes", "hardware", "cpu registers", "stack dump", "disassembling"})
        expected.emplace_back(rest);
    EXPECT_EQ(Names(*report->Sections()), expected);
}

TEST_F(BugReportTest, WithoutListThreadsOnlyTheCrashedAndTheMainThreadAreListed) {
    const test::WaitingThreads workers(2);
    std::shared_ptr<TBugReport> report;
    ThreadId crashed = 0;
    std::thread([&] {
        crashed = CurrentThreadId();
        const auto exception = test::CaughtTestFailure();
        exception->SetListThreads(false);
        exception->SetPlugins("");
        report = StartBugReport(exception);
    }).join();
    EXPECT_THAT(Names(*report->Sections()),
                ElementsAre(ThreadDisplayText(crashed) + ":", MainTitle(), "cpu registers",
                            "stack dump", "disassembling"));
}

TEST_F(BugReportTest, CrashedThreadNamesTheRaisingProcedureInAlignedColumns) {
    const auto report = StartBugReport(test::CaughtTestFailure());
    const std::string stack = report->Sections()->ContentOf(MainTitle());
    EXPECT_THAT(stack, HasSubstr("kestrix::test::RaiseTestFailure()"));
    EXPECT_THAT(stack, HasSubstr("BugReportTest_CrashedThreadNamesTheRaisingProcedure"));
    const std::vector<std::string> lines = Lines(stack);
    ASSERT_GT(lines.size(), 3U);
    for (const std::string& line : lines) {
        // The address, "+" and the offset, the module, ... the procedure at the end.
        const std::size_t offsetEnd = line.find(' ', 18);
        EXPECT_EQ(line.find_first_not_of("0123456789abcdef"), 16U) << line;
        EXPECT_EQ(line.substr(16, 2), " +") << line;
        EXPECT_EQ(line.find_first_not_of("0123456789abcdef", 18), offsetEnd) << line;
        EXPECT_NE(line[offsetEnd + 1], ' ') << line;
        EXPECT_NE(line.back(), ' ') << line;
    }
    // The columns line up: every module name starts at the same place.
    const std::size_t moduleColumn = lines.front().find(' ', 17) + 1;
    for (const std::string& line : lines)
        EXPECT_EQ(line.find(' ', 17) + 1, moduleColumn) << line;
}

TEST_F(BugReportTest, OtherThreadsShowTheirWaitAndTheirCreator) {
    const test::WaitingThreads workers(2);
    const auto report = StartBugReport(test::CaughtTestFailure());
    const std::string creatorLine = ">> created by " + ThreadDisplayText(MainThreadId()) + " at:";
    for (const ThreadId id : workers.Ids()) {
        SCOPED_TRACE(id);
        const std::vector<std::string> lines =
            Lines(report->Sections()->ContentOf(ThreadDisplayText(id) + ":"));
        ASSERT_GE(lines.size(), 3U);
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
            return line.ends_with(" pthread_cond_wait");
        }));
        EXPECT_EQ(lines[lines.size() - 2], creatorLine);
        // std::thread creates its threads from the C++ library.
        EXPECT_THAT(lines.back(), HasSubstr(" libstdc++.so.6"));
    }
}

TEST_F(BugReportTest, ThreadThatDoesNotAnswerTheCaptureHasNoAccessibleStack) {
    const test::WaitingThreads deaf(1, [](std::size_t) {
        sigset_t capture;
        sigemptyset(&capture);
        sigaddset(&capture, ContextCaptureSignal());
        pthread_sigmask(SIG_BLOCK, &capture, nullptr);
    });
    const auto report = StartBugReport(test::CaughtTestFailure());
    EXPECT_EQ(report->Sections()->ContentOf(ThreadDisplayText(deaf.Ids().front()) + ":"),
              ">> stack not accessible");
}

TEST_F(BugReportTest, RegistersStackDumpAndDisassemblyComeFromTheFailure) {
    const auto exception = test::CaughtTestFailure();
    const auto report = StartBugReport(exception);
    const auto& registers = exception->Context()->Registers;

    const std::vector<std::string> cpu = Lines(report->Sections()->ContentOf("cpu registers"));
    ASSERT_EQ(cpu.size(), 17U);
    EXPECT_EQ(cpu[0], "rax = " + HexAddress(static_cast<std::uintptr_t>(registers[REG_RAX])));
    EXPECT_EQ(cpu[14], "rip = " + HexAddress(static_cast<std::uintptr_t>(registers[REG_RIP])));

    const std::string dump = report->Sections()->ContentOf("stack dump");
    EXPECT_THAT(dump,
                StartsWith(HexAddress(static_cast<std::uintptr_t>(registers[REG_RSP])) + "  "));

    // The procedure of the listed location, cut to `LimitDisAsm` lines around the marked one.
    const std::vector<std::string> listing = Lines(report->Sections()->ContentOf("disassembling"));
    const auto marked = std::find_if(listing.begin(), listing.end(), [](const std::string& line) {
        return line.find(" > ") != std::string::npos;
    });
    ASSERT_NE(marked, listing.end());
    EXPECT_THAT(*marked, HasSubstr("call"));
    EXPECT_LE(listing.size(), 2U * 5 + 3);
}

TEST_F(BugReportTest, FailureWithoutContextHasNoRegisterSections) {
    std::shared_ptr<IKXException> exception;
    try {
        test::RaiseTestFailure();
    } catch (...) {
        ExceptionValues values{.Source = esApplicationHandleException};
        CompleteExceptionValues(values);
        exception = NewException(std::move(values));
    }
    const auto report = StartBugReport(exception);
    EXPECT_EQ(report->Sections()->Find("cpu registers"), std::nullopt);
    EXPECT_EQ(report->Sections()->Find("stack dump"), std::nullopt);
    EXPECT_NE(report->Sections()->Find("disassembling"), std::nullopt);
    EXPECT_TRUE(report->IsComplete());
}

TEST_F(BugReportTest, FrozenMainThreadIsTheFirstSectionWithTheFrozenMessage) {
    std::shared_ptr<TBugReport> report;
    std::thread([&] {
        ExceptionValues values{
            .Type = etFrozen, .Source = esAntiFreezeCheck, .CrashedThread = MainThreadId()};
        if (const auto context = CaptureThreadContext(MainThreadId())) {
            values.Address = context->InstructionPointer;
            values.StackPointer = context->StackPointer;
            values.FramePointer = context->FramePointer;
            values.StackTop = context->StackTop;
        }
        const auto exception = NewException(std::move(values));
        exception->SetFrozenMsg("The application seems to be frozen.");
        report = StartBugReport(exception);
    }).join();
    const std::vector<std::string> sections = Names(*report->Sections());
    ASSERT_FALSE(sections.empty());
    EXPECT_EQ(sections.front(), MainTitle());
    EXPECT_EQ(std::count(sections.begin(), sections.end(), MainTitle()), 1);
    // The main thread's own stack, down to the program's entry.
    EXPECT_THAT(report->Sections()->ContentOf(MainTitle()), HasSubstr(" main\r\n"));
    EXPECT_EQ(report->Header()->ContentOf("exception message"),
              "The application seems to be frozen.");
    EXPECT_EQ(report->Header()->Find("exception class"), std::nullopt);
}

TEST_F(BugReportTest, AbortFlagStopsTheCompletionWithThePlaceholdersLeft) {
    const auto exception = test::CaughtTestFailure();
    TBugReport report(exception);
    report.Abort();
    report.Complete(exception);
    EXPECT_FALSE(report.IsComplete());
    EXPECT_EQ(report.Header()->ContentOf("callstack crc"), "will be calculated soon");
    EXPECT_EQ(report.Sections()->ContentOf("modules"), ">> will be calculated soon");
    EXPECT_THAT(report.Sections()->ContentOf(MainTitle()),
                HasSubstr("\r\n>> stack will be calculated soon"));
    EXPECT_THAT(report.Text(true), HasSubstr(">> stack will be calculated soon"));
}

TEST_F(BugReportTest, FailingPluginReplacesOnlyItsOwnSection) {
    RegisterBugReportPlugin(
        "failing", "a plug-in that fails",
        []() -> std::string { throw std::runtime_error("plug-in trouble"); }, true);
    RegisterBugReportPlugin(
        "note", "a header note", [] { return std::string("a note"); }, false);
    const auto exception = test::CaughtTestFailure();
    exception->SetPlugins("failing|note|modules");
    const auto report = StartBugReport(exception);
    UnregisterBugReportPlugin("failing");
    UnregisterBugReportPlugin("note");

    EXPECT_THAT(report->Sections()->ContentOf("failing"),
                StartsWith(">> internal error in plugin:\r\n"));
    EXPECT_THAT(report->Sections()->ContentOf("modules"), Not(StartsWith(">>")));
    EXPECT_EQ(report->Sections()->Find("note"), std::nullopt);
    const std::vector<std::string> header = Names(*report->Header());
    const auto note = std::find(header.begin(), header.end(), "note");
    ASSERT_NE(note, header.end());
    EXPECT_EQ(*(note + 1), "callstack crc");
    EXPECT_TRUE(report->IsComplete());
}

int g_completeReportCalls = 0;
bool g_completeWhenCalled = false;

void CountCompleteReport(IKXException& exception, bool&) {
    ++g_completeReportCalls;
    g_completeWhenCalled = exception.Phase() == epCompleteReport;
}

TEST_F(BugReportTest, CompleteReportPhaseIsEnteredOnceWhicheverComesLast) {
    RegisterExceptionHandler(&CountCompleteReport, stDontSync, epCompleteReport);
    for (const bool postProcessingFirst : {true, false}) {
        SCOPED_TRACE(postProcessingFirst);
        g_completeReportCalls = 0;
        const auto exception = test::CaughtTestFailure();
        exception->SetPhase(postProcessingFirst ? epPostProcessing : epMainPhase);
        const auto report = StartBugReport(exception);
        EXPECT_EQ(g_completeReportCalls, postProcessingFirst ? 1 : 0);
        exception->SetPhase(std::max(exception->Phase(), epPostProcessing));
        report->PostProcessingReached();
        report->PostProcessingReached();
        EXPECT_EQ(g_completeReportCalls, 1);
        EXPECT_TRUE(g_completeWhenCalled);
        EXPECT_EQ(exception->Phase(), epCompleteReport);
    }
    UnregisterExceptionHandler(&CountCompleteReport);
}

TEST_F(BugReportTest, CompletionThreadFillsTheSameReportOutsideItsOwnList) {
    const auto exception = test::CaughtTestFailure();
    const auto here = StartBugReport(exception, TCompletionPlace::cpCallingThread);
    const auto threaded = StartBugReport(exception, TCompletionPlace::cpOwnThread);
    const std::string text = threaded->Text(true);
    ASSERT_TRUE(threaded->IsComplete());
    EXPECT_THAT(text, Not(HasSubstr("will be calculated soon")));
    EXPECT_EQ(threaded->Checksums()[0], here->Checksums()[0]);
    EXPECT_EQ(threaded->Checksums()[1], here->Checksums()[1]);
    EXPECT_EQ(Names(*threaded->Sections()), Names(*here->Sections()));
}

TEST_F(BugReportTest, SaveAppendsTheCompleteReportOnce) {
    const TestRuntimeFolder runtime("kestrix-bug-report-test");
    const auto exception = test::CaughtTestFailure();
    const auto report = StartBugReport(exception, TCompletionPlace::cpOwnThread);
    const auto saved = report->Save();
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->filename(), "bugreport.txt");
    EXPECT_EQ(report->Save(), saved) << "the same failure is saved once";
    std::ifstream file(*saved, std::ios::binary);
    const std::string content{std::istreambuf_iterator<char>(file),
                              std::istreambuf_iterator<char>()};
    EXPECT_EQ(content, report->Text(true) + "\r\n");
    EXPECT_THAT(content, Not(HasSubstr("will be calculated soon")));
    EXPECT_EQ(exception->BugReport(), report->Text(true));
}

class RecordingWaitWindow : public IReportWaitWindow {
  public:
    void Show() override { Calls.push_back("show"); }
    void ProcessMessages() override {
        if (Calls.back() != "messages")
            Calls.push_back("messages");
        if (OnMessages)
            OnMessages();
    }
    void Hide() override { Calls.push_back("hide"); }
    std::vector<std::string> Calls;
    std::function<void()> OnMessages;
};

TEST_F(BugReportTest, CompletionInTheBuildingThreadShowsTheWaitWindowWhenAsked) {
    const auto window = std::make_shared<RecordingWaitWindow>();
    SetReportWaitWindow(window);
    for (const bool plWaitBox : {true, false}) {
        SCOPED_TRACE(plWaitBox);
        window->Calls.clear();
        const auto exception = test::CaughtTestFailure();
        exception->SetPlWaitBox(plWaitBox);
        const auto report = StartBugReport(exception);
        EXPECT_TRUE(report->IsComplete());
        const std::vector<std::string> expected =
            plWaitBox ? std::vector<std::string>{"show", "messages", "hide"}
                      : std::vector<std::string>{};
        EXPECT_EQ(window->Calls, expected);
    }
    SetReportWaitWindow(nullptr);
}

TEST_F(BugReportTest, ReaderOfTheCompleteReportWaitsWithTheWaitWindow) {
    // The completion cannot end before the window has processed its messages once.
    std::atomic<bool> released{false};
    RegisterBugReportPlugin(
        "held", "a plug-in that waits for the window",
        [&] {
            while (!released)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return std::string("released");
        },
        true);
    const auto window = std::make_shared<RecordingWaitWindow>();
    window->OnMessages = [&] { released = true; };
    SetReportWaitWindow(window);
    const auto exception = test::CaughtTestFailure();
    exception->SetPlugins("held");
    const auto report = StartBugReport(exception, TCompletionPlace::cpOwnThread);
    const std::string text = report->Text(true);
    SetReportWaitWindow(nullptr);
    UnregisterBugReportPlugin("held");
    EXPECT_TRUE(report->IsComplete());
    EXPECT_THAT(text, HasSubstr("\r\n\r\nheld:\r\nreleased"));
    EXPECT_EQ(window->Calls, (std::vector<std::string>{"show", "messages", "hide"}));
}

TEST_F(BugReportTest, RenderedTextFollowsLaterChangesOfTheFields) {
    const auto report = StartBugReport(test::CaughtTestFailure());
    const std::string before = report->Text(true);
    EXPECT_THAT(before, StartsWith("date/time "));
    EXPECT_THAT(before, HasSubstr("\r\n\r\n" + MainTitle() + "\r\n"));
    report->Header()->SetContent("contact", "someone\r\nat home");
    EXPECT_THAT(before, Not(HasSubstr("someone")));
    EXPECT_THAT(report->Text(false), HasSubstr(": someone at home\r\n"));
}

}  // namespace
}  // namespace kestrix
