// \brief The process list from /proc/<pid>/stat, exe and sessionid.
#include "crash/report/process_list.h"

#include <sched.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "crash/report/hex_text.h"
#include "crash/report/text_lines.h"

namespace kestrix {
namespace {

constexpr unsigned long KernelThreadFlag = 0x00200000;  // PF_KTHREAD
constexpr std::uint32_t NoSession = 0xffffffffu;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

// The fields of /proc/<pid>/stat that the list needs.
struct ProcessStat {
    std::string Command;
    unsigned long Flags = 0;
    int Nice = 0;
    int Policy = 0;
};

// The command stands in parentheses and may hold blanks and parentheses itself, so the fields
// are counted from the last ")": the state is field 3, the flags 9, nice 19 and the policy 41.
std::optional<ProcessStat> ReadStat(const std::filesystem::path& folder) {
    const std::string stat = ReadFile(folder / "stat");
    const std::size_t open = stat.find('(');
    const std::size_t close = stat.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open)
        return std::nullopt;
    std::istringstream fields(stat.substr(close + 1));
    std::vector<std::string> values;
    for (std::string value; fields >> value;)
        values.push_back(value);
    constexpr std::size_t FirstField = 3;
    const auto field = [&](std::size_t number) -> const std::string& {
        return values.at(number - FirstField);
    };
    if (values.size() < 41 - FirstField + 1)
        return std::nullopt;
    ProcessStat result;
    result.Command = stat.substr(open + 1, close - open - 1);
    result.Flags = std::stoul(field(9));
    result.Nice = std::stoi(field(19));
    result.Policy = std::stoi(field(41));
    return result;
}

std::optional<std::uint32_t> ReadSession(const std::filesystem::path& folder) {
    const std::string text = ReadFile(folder / "sessionid");
    std::uint32_t session = NoSession;
    if (std::from_chars(text.data(), text.data() + text.size(), session).ec != std::errc{} ||
        session == NoSession)
        return std::nullopt;
    return session;
}

std::optional<std::uint32_t> ProcessIdOf(const std::string& name) {
    std::uint32_t id = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), id);
    if (error != std::errc{} || end != name.data() + name.size())
        return std::nullopt;
    return id;
}

}  // namespace

std::string PriorityClassName(int policy, int nice) {
    if (policy == SCHED_FIFO || policy == SCHED_RR || policy == SCHED_DEADLINE)
        return "realtime";
    if (policy == SCHED_IDLE || nice >= 15)
        return "idle";
    if (nice > 0)
        return "below normal";
    if (nice == 0)
        return "normal";
    return nice > -10 ? "above normal" : "high";
}

std::vector<TProcessListEntry> RunningProcesses() {
    std::vector<TProcessListEntry> processes;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const auto id = ProcessIdOf(entry.path().filename().string());
        if (!id)
            continue;
        try {
            const auto stat = ReadStat(entry.path());
            if (!stat || (stat->Flags & KernelThreadFlag) != 0)
                continue;
            TProcessListEntry process{*id, stat->Command, ReadSession(entry.path()),
                                      PriorityClassName(stat->Policy, stat->Nice), ""};
            std::error_code linkError;
            const auto executable = std::filesystem::read_symlink(entry.path() / "exe", linkError);
            if (!linkError) {
                process.Name = executable.filename().string();
                process.Folder = executable.parent_path().string();
            }
            processes.push_back(std::move(process));
        } catch (const std::exception&) {
            // A process that ended while it was read, or a stat line out of shape: not listed.
        }
    }
    std::sort(processes.begin(), processes.end(),
              [](const auto& a, const auto& b) { return a.ProcessId < b.ProcessId; });
    return processes;
}

std::string FormatProcessList(const std::vector<TProcessListEntry>& processes) {
    using Process = TProcessListEntry;
    const std::size_t idWidth =
        ColumnWidth(processes, [](const Process& process) { return HexDigits(process.ProcessId); });
    const std::size_t nameWidth =
        ColumnWidth(processes, [](const Process& process) { return process.Name; });
    const auto sessionText = [](const Process& process) {
        return process.SessionId ? std::to_string(*process.SessionId) : std::string();
    };
    const std::size_t sessionWidth = ColumnWidth(processes, sessionText);
    const bool anySession = std::any_of(processes.begin(), processes.end(),
                                        [](const Process& process) { return process.SessionId; });
    const std::size_t classWidth =
        ColumnWidth(processes, [](const Process& process) { return process.PriorityClass; });
    std::vector<std::string> lines;
    for (const TProcessListEntry& process : processes) {
        std::string line = HexDigits(process.ProcessId, static_cast<int>(idWidth)) + " " +
                           PadRight(process.Name, nameWidth + 1);
        if (anySession)
            line += PadRight(sessionText(process), sessionWidth + 1);
        line += PadRight(process.PriorityClass, classWidth + 1) + process.Folder;
        lines.push_back(std::move(line));
    }
    return JoinLines(lines);
}

std::string ProcessList() {
    return FormatProcessList(RunningProcesses());
}

}  // namespace kestrix
