// \brief Threads and their states from /proc/self/task.
#include "crash/report/process_threads.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "crash/report/thread_section_texts.h"

namespace kestrix {
namespace {

std::optional<long> NumberField(std::string_view field) {
    long value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc{} || end != field.data() + field.size())
        return std::nullopt;
    return value;
}

}  // namespace

std::vector<ThreadId> ProcessThreads() {
    std::vector<ThreadId> threads;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task", error)) {
        if (const auto id = NumberField(entry.path().filename().native()))
            threads.push_back(static_cast<ThreadId>(*id));
    }
    return threads;
}

std::optional<TThreadState> ParseThreadStat(std::string_view stat) {
    // The name in parentheses may hold blanks and parentheses itself: the fields follow the last
    // ")", starting with the state, the third field.
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string_view::npos)
        return std::nullopt;
    std::vector<std::string_view> fields;
    std::string_view rest = stat.substr(nameEnd + 1);
    while (!rest.empty()) {
        const std::size_t start = rest.find_first_not_of(" \n");
        if (start == std::string_view::npos)
            break;
        rest.remove_prefix(start);
        const std::size_t end = std::min(rest.find_first_of(" \n"), rest.size());
        fields.push_back(rest.substr(0, end));
        rest.remove_prefix(end);
    }
    // Fields 3 (state), 19 (nice), 40 (real-time priority) and 41 (policy), counted from 1.
    constexpr std::size_t First = 3;
    if (fields.size() < 41 - First + 1)
        return std::nullopt;
    const auto field = [&](std::size_t number) { return fields[number - First]; };
    const auto nice = NumberField(field(19));
    const auto realtimePriority = NumberField(field(40));
    const auto policy = NumberField(field(41));
    if (!nice || !realtimePriority || !policy || field(3).empty())
        return std::nullopt;
    return TThreadState{.Stopped = field(3) == "T" || field(3) == "t",
                        .Priority = ThreadPriorityText(static_cast<int>(*policy),
                                                       static_cast<int>(*realtimePriority),
                                                       static_cast<int>(*nice))};
}

std::optional<TThreadState> ThreadStateOf(ThreadId thread) {
    std::ifstream file("/proc/self/task/" + std::to_string(thread) + "/stat");
    if (!file)
        return std::nullopt;
    const std::string stat{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return ParseThreadStat(stat);
}

}  // namespace kestrix
