// \brief What the report header says about the machine, the user and the session, from the
// system's own sources: the host name, the password and group databases, /etc/os-release and
// uname, the SSH session's environment.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

std::optional<std::string> ComputerName();

// The user's name, with "  <admin>" for root or a member of sudo, wheel or admin.
std::optional<std::string> UserNameField();
bool IsAdministrator(unsigned userId, const std::vector<std::string>& groupNames);

// In an SSH session, the client's address from SSH_CLIENT or SSH_CONNECTION; none otherwise.
std::optional<std::string> RemoteClientName();

// The distribution's PRETTY_NAME, " build " and the kernel release.
std::optional<std::string> OperatingSystemField();

// The value of a key of an os-release text ("PRETTY_NAME=\"Debian GNU/Linux 12\"").
std::optional<std::string> OsReleaseValue(std::string_view osRelease, std::string_view key);

}  // namespace kestrix
