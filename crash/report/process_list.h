// \brief The "processes" plug-in: the running processes from /proc, with id, executable, login
// session and priority class. Kernel threads are no programs and are left out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrix {

struct TProcessListEntry {
    std::uint32_t ProcessId = 0;
    std::string Name;
    // The audit login session, when the system keeps one for the process.
    std::optional<std::uint32_t> SessionId;
    std::string PriorityClass;
    std::string Folder;  // empty when the executable's path cannot be read
};

// The scheduling of a process as a priority class: a real-time policy is "realtime", the idle
// policy "idle"; otherwise by nice value: 15 and above "idle", 1 to 14 "below normal", 0
// "normal", -1 to -9 "above normal", -10 and below "high".
std::string PriorityClassName(int policy, int nice);

// The processes in ascending id order.
std::vector<TProcessListEntry> RunningProcesses();

// One line per process: the id in hexadecimal, zero-padded to the widest id, a blank, the name
// padded to the longest name plus one, the session id in a left-aligned column (only when any
// process has one), the priority class padded to the longest plus one, and the folder.
std::string FormatProcessList(const std::vector<TProcessListEntry>& processes);

std::string ProcessList();

}  // namespace kestrix
