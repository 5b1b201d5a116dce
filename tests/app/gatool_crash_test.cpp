// gatool's own failure path end to end: the program is started on a real X display (Xvfb) with a
// GA file whose analysis fails, and the failure box is answered as an operator answers it, by a
// key press (xdotool), and the window after it by a click; the test checks the exit code of the
// chosen outcome and the saved report.
// A display server and a key press are what the program meets in use: no setting or switch of
// the program exists for the test. Every wait is bounded; a run that does not end is killed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "program_run.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using gatool::testing::NullTerminated;
using gatool::testing::RunProgram;

constexpr std::chrono::seconds WaitLimit{30};
constexpr std::chrono::milliseconds PollInterval{100};

std::optional<fs::path> FindProgram(const std::string& name) {
    std::istringstream path(std::getenv("PATH") != nullptr ? std::getenv("PATH") : "");
    for (std::string folder; std::getline(path, folder, ':');) {
        const fs::path candidate = fs::path(folder) / name;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::string ReadWhole(const fs::path& file) {
    std::ostringstream text;
    text << std::ifstream(file).rdbuf();
    return text.str();
}

// A child that is killed and reaped when it has not ended by itself.
class Child {
  public:
    Child(std::vector<std::string> arguments,
          std::vector<std::string> environment,
          const posix_spawn_file_actions_t* actions = nullptr) {
        const int spawned =
            posix_spawn(&m_pid, arguments[0].c_str(), actions, nullptr,
                        NullTerminated(arguments).data(), NullTerminated(environment).data());
        if (spawned != 0) {
            m_pid = 0;
        }
    }
    ~Child() {
        if (m_pid != 0 && !m_status) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Started() const { return m_pid != 0; }
    // The exit status, or 128 + the signal; none while it runs.
    std::optional<int> Ended() {
        int status = 0;
        if (!m_status && m_pid != 0 && waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        return m_status;
    }

  private:
    pid_t m_pid = 0;
    std::optional<int> m_status;
};

// An X server of its own on a free display, whose number it reports through a pipe.
class VirtualDisplay {
  public:
    explicit VirtualDisplay(const fs::path& xvfb) {
        int reported[2];
        if (pipe2(reported, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, reported[1], 3);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        m_server = std::make_unique<Child>(
            std::vector<std::string>{xvfb, "-displayfd", "3", "-screen", "0", "1280x1024x24",
                                     "-nolisten", "tcp"},
            std::vector<std::string>{}, &actions);
        posix_spawn_file_actions_destroy(&actions);
        close(reported[1]);
        std::string number;
        char digit = 0;
        while (read(reported[0], &digit, 1) == 1 && digit != '\n') {
            number += digit;
        }
        close(reported[0]);
        if (!number.empty()) {
            m_name = ":" + number;
        }
    }
    // Empty when the server did not start.
    const std::string& Name() const { return m_name; }

  private:
    std::unique_ptr<Child> m_server;
    std::string m_name;
};

fs::path GaFileWithAnOverflowingCount(const fs::path& folder) {
    std::string text = ReadWhole(fs::path(GATOOL_SAMPLES_DIR) / "GA_sample.txt");
    // The first count of the first scan becomes too large for the single it is stored in.
    const std::string firstRow = "   976    1620";
    const std::size_t at = text.find(firstRow);
    text.replace(at, firstRow.size(), "   976    9e300");
    const fs::path file = folder / "GA_overflow.txt";
    std::ofstream(file) << text;
    return file;
}

template <typename Condition>
bool WaitUntil(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + WaitLimit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(PollInterval);
    }
    return true;
}

class GatoolCrash : public ::testing::Test {
  protected:
    void SetUp() override {
        m_xvfb = FindProgram("Xvfb");
        m_xdotool = FindProgram("xdotool");
        if (!m_xvfb || !m_xdotool) {
            GTEST_SKIP() << "Xvfb and xdotool are needed (scripts/setup.sh installs them)";
        }
        m_folder = fs::temp_directory_path() / ("gatool-crash-test-" + std::to_string(getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        fs::permissions(m_folder, fs::perms::owner_all);
    }
    void TearDown() override {
        if (!m_folder.empty()) {
            fs::remove_all(m_folder);
        }
    }

    std::vector<std::string> Environment(const std::string& display) const {
        std::vector<std::string> environment = {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb",
                                                "TMPDIR=" + m_folder.string(),
                                                "XDG_STATE_HOME=" + (m_folder / "state").string(),
                                                "XDG_RUNTIME_DIR=" + m_folder.string()};
#ifdef GATOOL_CHILD_ASAN_OPTIONS
        environment.push_back(std::string("ASAN_OPTIONS=") + GATOOL_CHILD_ASAN_OPTIONS);
#endif
        for (char** each = environ; *each != nullptr; ++each) {
            const std::string variable = *each;
            if (variable.starts_with("PATH=") || variable.starts_with("HOME=") ||
                variable.starts_with("LANG=")) {
                environment.push_back(variable);
            }
        }
        return environment;
    }

    std::optional<std::string> VisibleWindow(const std::string& title) const {
        const auto found =
            RunProgram(*m_xdotool, {"search", "--onlyvisible", "--name", "^" + title + "$"},
                       Environment(m_display->Name()));
        if (found.status != 0 || found.out.empty()) {
            return std::nullopt;
        }
        return found.out.substr(0, found.out.find('\n'));
    }

    // The id of the visible window with this exact title, once one appears.
    std::optional<std::string> WaitForWindow(const std::string& title) const {
        std::optional<std::string> found;
        WaitUntil([&] { return (found = VisibleWindow(title)).has_value(); });
        return found;
    }

    // Whether the visible windows of this title have all gone in time.
    bool WaitUntilGone(const std::string& title) const {
        return WaitUntil([&] { return !VisibleWindow(title); });
    }

    void XdoTool(const std::vector<std::string>& arguments) const {
        const auto run = RunProgram(*m_xdotool, arguments, Environment(m_display->Name()));
        EXPECT_EQ(run.status, 0) << run.err;
    }

    // Starts the display and gatool on the failing file; the failure box's window id once it has
    // come up, the program's name as its title.
    std::optional<std::string> StartGatoolUntilTheBox() {
        m_display = std::make_unique<VirtualDisplay>(*m_xvfb);
        if (m_display->Name().empty()) {
            ADD_FAILURE() << "Xvfb did not start";
            return std::nullopt;
        }
        m_gatool = std::make_unique<Child>(
            std::vector<std::string>{GATOOL_EXECUTABLE,
                                     GaFileWithAnOverflowingCount(m_folder).string()},
            Environment(m_display->Name()));
        return WaitForWindow("gatool");
    }

    std::optional<int> WaitForTheEnd() const {
        WaitUntil([&] { return m_gatool->Ended().has_value(); });
        return m_gatool->Ended();
    }

    void ExpectTheOverflowReported() const {
        const std::string report = ReadWhole(m_folder / "kestrix-gatool" / "bugreport.txt");
        for (const char* part :
             {"executable        : gatool", "exception class   : EOverflow",
              "exception message : Floating point overflow", "\r\n\r\nmain thread (",
              "gatool::(anonymous namespace)::ConvertFloat<float>", "gatool::ReadGaFile",
              "gatool::TMainForm::OpenGaFile"}) {
            EXPECT_NE(report.find(part), std::string::npos) << part << "\n" << report;
        }
    }

    std::optional<fs::path> m_xvfb;
    std::optional<fs::path> m_xdotool;
    fs::path m_folder;
    // Declared in this order so that gatool ends before its display.
    std::unique_ptr<VirtualDisplay> m_display;
    std::unique_ptr<Child> m_gatool;
};

// The arrow keys move from the focused save button past show, continue and restart to the close
// button, which Return presses.
TEST_F(GatoolCrash, AFailingLoadIsReportedAndClosingFromTheBoxEndsWithExitCodeOne) {
    const std::optional<std::string> box = StartGatoolUntilTheBox();
    ASSERT_TRUE(box.has_value()) << "no failure box came up";
    XdoTool({"windowfocus", "--sync", *box, "key", "Right", "Right", "Right", "Right", "Return"});

    const std::optional<int> exitCode = WaitForTheEnd();
    ASSERT_TRUE(exitCode.has_value()) << "gatool did not end after the close button";
    EXPECT_EQ(*exitCode, 1);
    ExpectTheOverflowReported();
}

// Escape closes the box, which continues a failure that can continue: the load is abandoned, the
// window goes on and its Exit button (92 and 56 pixels from the window's bottom-right corner) ends
// gatool normally.
TEST_F(GatoolCrash, AFailingLoadIsReportedAndTheWindowGoesOnAfterContinue) {
    const std::optional<std::string> box = StartGatoolUntilTheBox();
    ASSERT_TRUE(box.has_value()) << "no failure box came up";
    XdoTool({"windowfocus", "--sync", *box, "key", "Escape"});
    ASSERT_TRUE(WaitUntilGone("gatool")) << "the box stayed up";
    const std::optional<std::string> window = WaitForWindow("Processing GA tests");
    ASSERT_TRUE(window.has_value()) << "the window has gone";
    const auto geometry = RunProgram(*m_xdotool, {"getwindowgeometry", "--shell", *window},
                                     Environment(m_display->Name()));
    int width = 0;
    int height = 0;
    ASSERT_EQ(std::sscanf(geometry.out.c_str() + geometry.out.find("WIDTH="), "WIDTH=%d\nHEIGHT=%d",
                          &width, &height),
              2)
        << geometry.out;
    XdoTool({"mousemove", "--window", *window, std::to_string(width - 92 + 37),
             std::to_string(height - 56 + 12), "click", "1"});

    const std::optional<int> exitCode = WaitForTheEnd();
    ASSERT_TRUE(exitCode.has_value()) << "gatool did not end after Exit";
    EXPECT_EQ(*exitCode, 0);
    ExpectTheOverflowReported();
}

}  // namespace
