// \brief Machine, user and session facts against the system's other ways of telling them.
#include "crash/report/host_facts.h"

#include <gtest/gtest.h>

#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace kestrix {
namespace {

// Sets an environment variable for the lifetime of the object.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable() {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(HostFacts, TheComputerNameIsTheKernelsHostName) {
    std::ifstream file("/proc/sys/kernel/hostname");
    std::string hostName;
    std::getline(file, hostName);
    EXPECT_EQ(ComputerName(), hostName);
}

TEST(HostFacts, AdministratorsAreRootAndTheAdministrativeGroups) {
    EXPECT_TRUE(IsAdministrator(0, {}));
    EXPECT_TRUE(IsAdministrator(1000, {"users", "sudo"}));
    EXPECT_TRUE(IsAdministrator(1000, {"wheel"}));
    EXPECT_TRUE(IsAdministrator(1000, {"admin"}));
    EXPECT_FALSE(IsAdministrator(1000, {"users", "sudoers", "adm"}));
    const auto user = UserNameField();
    ASSERT_TRUE(user.has_value());
    if (getuid() == 0) {
        EXPECT_EQ(*user, "root  <admin>");
    }
}

TEST(HostFacts, TheRemoteClientComesFromTheSshSession) {
    {
        const ScopedVariable client("SSH_CLIENT", "192.0.2.7 52000 22");
        EXPECT_EQ(RemoteClientName(), "192.0.2.7");
    }
    const ScopedVariable client("SSH_CLIENT", nullptr);
    {
        const ScopedVariable connection("SSH_CONNECTION", "2001:db8::5 40000 2001:db8::1 22");
        EXPECT_EQ(RemoteClientName(), "2001:db8::5");
    }
    const ScopedVariable connection("SSH_CONNECTION", nullptr);
    EXPECT_EQ(RemoteClientName(), std::nullopt);
}

TEST(HostFacts, TheOperatingSystemIsTheDistributionAndTheKernelRelease) {
    EXPECT_EQ(OsReleaseValue("NAME=\"Debian\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n",
                             "PRETTY_NAME"),
              "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(OsReleaseValue("PRETTY_NAME=Plain\n", "PRETTY_NAME"), "Plain");
    EXPECT_EQ(OsReleaseValue("XPRETTY_NAME=no\n", "PRETTY_NAME"), std::nullopt);
    utsname system{};
    ASSERT_EQ(uname(&system), 0);
    const auto field = OperatingSystemField();
    ASSERT_TRUE(field.has_value());
    EXPECT_TRUE(field->ends_with(std::string(" build ") + system.release)) << *field;
}

}  // namespace
}  // namespace kestrix
