// \brief The crash suite's judgement of one walk: the walker must list every scenario frame of
// gdb's backtrace, in order, and no scenario frame that gdb does not list.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tests/crash/stack/crash_suite/frame_lists.h"

namespace crash_suite {

struct TJudgement {
    std::size_t Expected = 0;  // gdb's scenario frames, repeated runs of a recursion once
    std::size_t Found = 0;
    std::size_t Missed = 0;
    std::size_t False = 0;       // listed by the walker, not by gdb
    std::size_t WrongLines = 0;  // found, with another line than gdb's
    std::string Listing;         // both lists aligned, a mark per frame
};

// The walker folds a recursion: a run of calls repeated right before an identical run is listed
// once. gdb's frames are folded the same way, over all its frames, before the scenario frames are
// taken. The two lists are then aligned by their longest common subsequence of addresses; a
// found frame whose gdb line is known must carry the same line.
TJudgement JudgeWalk(const std::vector<TFrame>& gdbFrames, const std::vector<TFrame>& walked);

}  // namespace crash_suite
