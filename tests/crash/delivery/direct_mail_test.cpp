// Direct mail for real: in a network namespace of the test's own, with a resolver file naming
// 127.0.0.1, a dnslib server on port 53 and aiosmtpd on port 25 as the recipients' exchanger.
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "crash/delivery/routes/online_state.h"
#include "crash/delivery/routes/smtp_client.h"
#include "tests/crash/delivery/child_program.h"
#include "tests/crash/delivery/mail_reading.h"
#include "tests/crash/delivery/peer_process.h"
#include "tests/crash/delivery/scratch_folder.h"

namespace kestrix {
namespace {

bool WriteMap(const char* file, const std::string& text) {
    const int descriptor = open(file, O_WRONLY | O_CLOEXEC);
    const bool written = descriptor >= 0 && write(descriptor, text.data(), text.size()) ==
                                                static_cast<ssize_t>(text.size());
    if (descriptor >= 0) {
        close(descriptor);
    }
    return written;
}

// A network and mount namespace: directly as root, else in a user namespace of its own (what
// `unshare -rn` does). Empty on success, else why not.
std::string EnterNamespaces() {
    if (unshare(CLONE_NEWNET | CLONE_NEWNS) != 0) {
        const uid_t user = geteuid();
        const gid_t group = getegid();
        if (unshare(CLONE_NEWUSER | CLONE_NEWNET | CLONE_NEWNS) != 0) {
            return std::string("unshare: ") + std::strerror(errno);
        }
        if (!WriteMap("/proc/self/setgroups", "deny") ||
            !WriteMap("/proc/self/uid_map", "0 " + std::to_string(user) + " 1") ||
            !WriteMap("/proc/self/gid_map", "0 " + std::to_string(group) + " 1")) {
            return "cannot map the user into its namespace";
        }
    }
    return "";
}

// Runs in the forked child: sets the namespace up, sends, and writes what happened.
std::string SendInNamespace(const std::filesystem::path& folder) {
    if (std::string error = EnterNamespaces(); !error.empty()) {
        return "skip " + error;
    }
    WriteFileText(folder / "resolv.conf", "nameserver 127.0.0.1\n");
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount((folder / "resolv.conf").c_str(), "/etc/resolv.conf", nullptr, MS_BIND, nullptr) !=
            0) {
        return std::string("skip mount: ") + std::strerror(errno);
    }
    for (const auto& command : std::vector<std::vector<std::string>>{
             {"ip", "link", "set", "lo", "up"}, {"ip", "route", "add", "default", "dev", "lo"}}) {
        if (const auto result = test::RunChild(command); result.ExitCode != 0) {
            return "skip " + command[0] + ": " + result.Output;
        }
    }
    const bool online = AmOnline();
    try {
        const test::PeerProcess dns(
            {"/usr/bin/python3", test::PeerScript("dns_peer.py"), folder.string(), "--port", "53",
             "--mx", "example.test=10:mx.example.test", "--mx", "other.test=10:mx.other.test",
             "--a", "mx.example.test=127.0.0.1", "--a", "mx.other.test=127.0.0.1"});
        const test::PeerProcess smtp({"/usr/bin/python3", test::PeerScript("smtp_peer.py"),
                                      folder.string(), "--port", "25"});
        NoSendProgress progress;
        const RouteResult result = SendDirectMail(
            {"Dev <dev@example.test>, ops@other.test", "", "bug report", "the body", {}}, progress);
        return std::string(online ? "online" : "offline") + (result.Sent ? " sent" : " unsent ") +
               result.Error;
    } catch (const std::exception& error) {
        return std::string("failed ") + error.what();
    }
}

TEST(DirectMail, EachRecipientThroughItsExchangerInANamespace) {
    ScratchFolder scratch("kestrix-direct");
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        WriteFileText(scratch.Path() / "outcome.txt", SendInNamespace(scratch.Path()));
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    const std::string outcome = ReadFileText(scratch.Path() / "outcome.txt");
    if (outcome.starts_with("skip ")) {
        GTEST_SKIP() << "no network namespace of the test's own here: " << outcome.substr(5);
    }
    ASSERT_EQ(outcome, "online sent");
    std::ifstream questions(scratch.Path() / "questions.txt");
    std::vector<std::string> asked;
    for (std::string line; std::getline(questions, line);) {
        asked.push_back(line);
    }
    // The system's resolver may ask for IPv6 addresses too.
    std::erase_if(asked, [](const std::string& line) { return line.starts_with("AAAA "); });
    EXPECT_EQ(asked, (std::vector<std::string>{"MX example.test", "A mx.example.test",
                                               "MX other.test", "A mx.other.test"}));
    const auto lines = test::DialogueLines(scratch.Path());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "(message for dev@example.test)"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "(message for ops@other.test)"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "MAIL FROM:<dev@example.test>"), 2);
    for (const char* message : {"message-1.eml", "message-2.eml"}) {
        const auto parsed = test::ReadMail(scratch.Path() / message);
        EXPECT_EQ(parsed["body"], "the body\n");
        EXPECT_EQ(parsed["headers"]["subject"], "bug report");
    }
}

}  // namespace
}  // namespace kestrix
