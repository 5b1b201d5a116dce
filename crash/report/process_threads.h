// \brief The threads of the process as the system lists them (/proc/self/task) and what the
// report's thread sections say about each: whether it is stopped and its priority when that is
// not normal.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "crash/threads/thread_ids.h"

namespace kestrix {

// In the order the system lists them.
std::vector<ThreadId> ProcessThreads();

struct TThreadState {
    bool Stopped = false;                 // state T (stopped or traced)
    std::optional<std::string> Priority;  // none for a normal thread
};

// The state of a line of /proc/<pid>/task/<tid>/stat; none when it cannot be parsed.
std::optional<TThreadState> ParseThreadStat(std::string_view stat);

// None for a thread that has ended.
std::optional<TThreadState> ThreadStateOf(ThreadId thread);

}  // namespace kestrix
