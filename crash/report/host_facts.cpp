// \brief Machine, user and session facts.
#include "crash/report/host_facts.h"

#include <grp.h>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "crash/report/header_field_texts.h"

namespace kestrix {
namespace {

std::vector<std::string> GroupNamesOf(const passwd& user) {
    int count = 64;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    if (getgrouplist(user.pw_name, user.pw_gid, groups.data(), &count) < 0) {
        groups.resize(static_cast<std::size_t>(count));
        if (getgrouplist(user.pw_name, user.pw_gid, groups.data(), &count) < 0)
            return {};
    }
    groups.resize(static_cast<std::size_t>(count));
    std::vector<std::string> names;
    std::vector<char> buffer(16384);
    for (const gid_t id : groups) {
        group entry{};
        group* found = nullptr;
        if (getgrgid_r(id, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr)
            names.emplace_back(found->gr_name);
    }
    return names;
}

std::string Unquoted(std::string value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

std::optional<std::string> ComputerName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0')
        return std::nullopt;
    return std::string(name);
}

bool IsAdministrator(unsigned userId, const std::vector<std::string>& groupNames) {
    return userId == 0 || std::any_of(groupNames.begin(), groupNames.end(), [](const auto& name) {
               return name == "sudo" || name == "wheel" || name == "admin";
           });
}

std::optional<std::string> UserNameField() {
    passwd entry{};
    passwd* user = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &user) != 0 || user == nullptr)
        return std::nullopt;
    return UserNameText(user->pw_name, IsAdministrator(user->pw_uid, GroupNamesOf(*user)));
}

std::optional<std::string> RemoteClientName() {
    for (const char* variable : {"SSH_CLIENT", "SSH_CONNECTION"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || *value == '\0')
            continue;
        std::istringstream fields(value);
        std::string address;
        if (fields >> address)
            return address;
    }
    return std::nullopt;
}

std::optional<std::string> OsReleaseValue(std::string_view osRelease, std::string_view key) {
    std::istringstream lines{std::string(osRelease)};
    const std::string prefix = std::string(key) + "=";
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(prefix))
            return Unquoted(line.substr(prefix.size()));
    }
    return std::nullopt;
}

std::optional<std::string> OperatingSystemField() {
    std::ifstream file("/etc/os-release");
    if (!file)
        file.open("/usr/lib/os-release");
    std::ostringstream content;
    content << file.rdbuf();
    const auto name = OsReleaseValue(content.str(), "PRETTY_NAME");
    utsname system{};
    if (!name || uname(&system) != 0)
        return std::nullopt;
    return OperatingSystemText(*name, system.release);
}

}  // namespace kestrix
