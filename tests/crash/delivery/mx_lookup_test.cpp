// Mail exchanger lookups against a dnslib server on 127.0.0.1, and the online test on made-up
// routing tables.
#include "crash/delivery/routes/mx_lookup.h"

#include <gtest/gtest.h>

#include "crash/delivery/routes/online_state.h"
#include "tests/crash/delivery/mail_reading.h"
#include "tests/crash/delivery/peer_process.h"
#include "tests/crash/delivery/scratch_folder.h"

namespace kestrix {
namespace {

TEST(MxLookup, DomainsOfARecipient) {
    EXPECT_EQ(RecipientDomain("Dev <dev@mail.example.test>"), "mail.example.test");
    EXPECT_EQ(RecipientDomain("dev@example.test"), "example.test");
    EXPECT_EQ(ShorterDomain("a.b.mail.example.test"), "mail.example.test");
    EXPECT_EQ(ShorterDomain("mail.example.test"), "mail.example.test");
    EXPECT_EQ(ShorterDomain("example.test"), "example.test");
}

TEST(MxLookup, AsksTheDomainThenItsShorterFormAndSortsByPreference) {
    ScratchFolder scratch("kestrix-mx");
    const test::PeerProcess peer(
        {"/usr/bin/python3", test::PeerScript("dns_peer.py"), scratch.Path().string(), "--mx",
         "sub.example.test=20:backup.example.test", "--mx", "sub.example.test=10:mx.example.test",
         "--mx", "direct.test=5:mx.direct.test"});
    const std::vector<DnsServer> servers{{"127.0.0.1", static_cast<std::uint16_t>(peer.Port())}};
    EXPECT_EQ(MxLookup("dev@direct.test", servers), std::vector<std::string>{"mx.direct.test"});
    EXPECT_EQ(MxLookup("Dev <dev@a.b.sub.example.test>", servers),
              (std::vector<std::string>{"mx.example.test", "backup.example.test"}));
    EXPECT_TRUE(MxLookup("dev@nowhere.test", servers).empty());
    EXPECT_EQ(test::DialogueLines(scratch.Path()).size(), 0u);
    std::ifstream questions(scratch.Path() / "questions.txt");
    std::vector<std::string> asked;
    for (std::string line; std::getline(questions, line);) {
        asked.push_back(line);
    }
    EXPECT_EQ(asked, (std::vector<std::string>{
                         "127.0.0.1 MX direct.test", "127.0.0.1 MX a.b.sub.example.test",
                         "127.0.0.1 MX sub.example.test", "127.0.0.1 MX nowhere.test"}));
}

TEST(MxLookup, SilentServerGivesNoExchanger) {
    // A port that nothing answers on: the wait ends the lookup.
    EXPECT_TRUE(
        MxLookup("dev@example.test", {{"127.0.0.1", 9}}, std::chrono::milliseconds(200)).empty());
}

TEST(MxLookup, NameServersOfTheResolverFile) {
    ScratchFolder scratch("kestrix-resolver");
    WriteFileText(scratch.Path() / "resolv.conf",
                  "# comment\nsearch example.test\nnameserver 127.0.0.53\nnameserver ::1\n"
                  "nameserver 10.0.0.1 \n");
    const auto servers = ConfiguredNameServers(scratch.Path() / "resolv.conf");
    ASSERT_EQ(servers.size(), 2u);
    EXPECT_EQ(servers[0].Address, "127.0.0.53");
    EXPECT_EQ(servers[1].Address, "10.0.0.1");
    EXPECT_TRUE(ConfiguredNameServers(scratch.Path() / "missing").empty());
}

TEST(AmOnline, NeedsAUsableDefaultRoute) {
    ScratchFolder scratch("kestrix-online");
    const std::string header =
        "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
    const std::string ipv6Reject =
        "00000000000000000000000000000000 00 "
        "00000000000000000000000000000000 00 "
        "00000000000000000000000000000000 ffffffff 00000001 00000000 "
        "00200200       lo\n";
    const struct {
        const char* Name;
        std::string Ipv4;
        std::string Ipv6;
        bool Online;
    } cases[] = {
        {"default route", header + "eth0\t00000000\t0102A8C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n",
         "", true},
        {"only the local net",
         header + "eth0\t0002A8C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n", ipv6Reject,
         false},
        {"default route down",
         header + "eth0\t00000000\t0102A8C0\t0002\t0\t0\t0\t00000000\t0\t0\t0\n", "", false},
        {"IPv6 default route", header,
         "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
         "fe800000000000000000000000000001 00000400 00000001 00000000 00000003     eth0\n",
         true},
        {"no tables", "", "", false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        WriteFileText(scratch.Path() / "route", test.Ipv4);
        WriteFileText(scratch.Path() / "ipv6_route", test.Ipv6);
        EXPECT_EQ(AmOnline(scratch.Path() / "route", scratch.Path() / "ipv6_route"), test.Online);
    }
    EXPECT_FALSE(AmOnline(scratch.Path() / "none", scratch.Path() / "none"));
}

}  // namespace
}  // namespace kestrix
