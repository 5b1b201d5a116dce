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
#include <functional>

#include "crash/delivery/routes/mx_lookup.h"
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

// Sets the namespace up in the forked child: a resolver file naming 127.0.0.1, the loopback
// interface up and a default route on it. Empty on success, else why not.
std::string PrepareNamespace(const std::filesystem::path& folder) {
    if (std::string error = EnterNamespaces(); !error.empty()) {
        return error;
    }
    WriteFileText(folder / "resolv.conf", "nameserver 127.0.0.1\n");
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount((folder / "resolv.conf").c_str(), "/etc/resolv.conf", nullptr, MS_BIND, nullptr) !=
            0) {
        return std::string("mount: ") + std::strerror(errno);
    }
    for (const auto& command : std::vector<std::vector<std::string>>{
             {"ip", "link", "set", "lo", "up"}, {"ip", "route", "add", "default", "dev", "lo"}}) {
        if (const auto result = test::RunChild(command); result.ExitCode != 0) {
            return command[0] + ": " + result.Output;
        }
    }
    return "";
}

// Runs the work in a child process in a network namespace of its own; what it said, or "skip "
// and the reason when the namespace cannot be made here.
std::string InNetworkNamespace(const std::filesystem::path& folder,
                               const std::function<std::string()>& work) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::string outcome;
        if (std::string error = PrepareNamespace(folder); !error.empty()) {
            outcome = "skip " + error;
        } else {
            try {
                outcome = work();
            } catch (const std::exception& failure) {
                outcome = std::string("failed ") + failure.what();
            }
        }
        WriteFileText(folder / "outcome.txt", outcome);
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return ReadFileText(folder / "outcome.txt");
}

std::vector<std::string> Questions(const std::filesystem::path& folder) {
    std::ifstream stream(folder / "questions.txt");
    std::vector<std::string> asked;
    for (std::string line; std::getline(stream, line);) {
        // The system's resolver may ask for IPv6 addresses too.
        if (line.find(" AAAA ") == std::string::npos) {
            asked.push_back(line);
        }
    }
    return asked;
}

std::vector<std::string> DnsPeer(const std::filesystem::path& folder,
                                 std::vector<std::string> options) {
    std::vector<std::string> arguments{"/usr/bin/python3", test::PeerScript("dns_peer.py"),
                                       folder.string(), "--port", "53"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return arguments;
}

TEST(DirectMail, EachRecipientThroughItsExchangerInANamespace) {
    ScratchFolder scratch("kestrix-direct");
    const std::string outcome = InNetworkNamespace(scratch.Path(), [&] {
        const bool online = AmOnline();
        const test::PeerProcess dns(DnsPeer(
            scratch.Path(),
            {"--mx", "example.test=10:mx.example.test", "--mx", "other.test=10:mx.other.test",
             "--a", "mx.example.test=127.0.0.1", "--a", "mx.other.test=127.0.0.1"}));
        const test::PeerProcess smtp({"/usr/bin/python3", test::PeerScript("smtp_peer.py"),
                                      scratch.Path().string(), "--port", "25"});
        NoSendProgress progress;
        const RouteResult result = SendDirectMail(
            {"Dev <dev@example.test>, ops@other.test", "", "bug report", "the body", {}}, progress);
        return std::string(online ? "online" : "offline") + (result.Sent ? " sent" : " unsent ") +
               result.Error;
    });
    if (outcome.starts_with("skip ")) {
        GTEST_SKIP() << "no network namespace of the test's own here: " << outcome.substr(5);
    }
    ASSERT_EQ(outcome, "online sent");
    EXPECT_EQ(Questions(scratch.Path()),
              (std::vector<std::string>{"127.0.0.1 MX example.test", "127.0.0.1 A mx.example.test",
                                        "127.0.0.1 MX other.test", "127.0.0.1 A mx.other.test"}));
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

TEST(DirectMail, WithoutNameServersTheReferralsLeadFromTheRootToTheDomain) {
    ScratchFolder scratch("kestrix-referrals");
    const std::string outcome = InNetworkNamespace(scratch.Path(), [&] {
        const test::PeerProcess root(DnsPeer(
            scratch.Path(), {"--address", "127.0.0.1", "--delegate", "test=ns.test@127.0.0.2"}));
        const test::PeerProcess topLevel(DnsPeer(
            scratch.Path(),
            {"--address", "127.0.0.2", "--delegate", "example.test=ns.example.test@127.0.0.3"}));
        const test::PeerProcess zone(DnsPeer(
            scratch.Path(),
            {"--address", "127.0.0.3", "--ns", "example.test=ns.example.test@127.0.0.3", "--mx",
             "example.test=10:mx.example.test", "--mx", "mail.example.test=20:mx2.example.test"}));
        std::string hosts;
        // The zone's own servers, then a name inside the zone that is no zone itself.
        for (const char* recipient : {"dev@example.test", "dev@mail.example.test"}) {
            for (const std::string& host :
                 MxLookupFromRoots(recipient, {{"127.0.0.1", 53}}, std::chrono::seconds(7))) {
                hosts += host + "|";
            }
        }
        return hosts;
    });
    if (outcome.starts_with("skip ")) {
        GTEST_SKIP() << "no network namespace of the test's own here: " << outcome.substr(5);
    }
    EXPECT_EQ(outcome, "mx.example.test|mx2.example.test|");
    EXPECT_EQ(Questions(scratch.Path()),
              (std::vector<std::string>{
                  "127.0.0.1 NS example.test", "127.0.0.2 NS example.test",
                  "127.0.0.3 NS example.test", "127.0.0.3 MX example.test",
                  "127.0.0.1 NS mail.example.test", "127.0.0.2 NS mail.example.test",
                  "127.0.0.3 NS mail.example.test", "127.0.0.3 MX mail.example.test"}));
}

}  // namespace
}  // namespace kestrix
