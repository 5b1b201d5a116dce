// \brief Folding gdb's frames, aligning them with the walker's and counting.
#include "tests/crash/stack/crash_suite/frame_judgement.h"

#include <algorithm>
#include <cstdint>

#include "crash/stack/recursion_removal.h"

namespace crash_suite {
namespace {

std::vector<TFrame> FoldRecursion(const std::vector<TFrame>& innermostFirst) {
    // The folding works from the outermost frame; a frame outside the program keeps its absolute
    // address, which no offset into the program reaches.
    std::vector<std::uintptr_t> addresses;
    for (auto frame = innermostFirst.rbegin(); frame != innermostFirst.rend(); ++frame)
        addresses.push_back(frame->Address);
    std::vector<bool> valid(addresses.size(), true);
    kestrix::RemoveRecursion(addresses, valid);
    std::vector<TFrame> folded;
    for (std::size_t i = 0; i < innermostFirst.size(); ++i) {
        if (valid[innermostFirst.size() - 1 - i])
            folded.push_back(innermostFirst[i]);
    }
    return folded;
}

std::vector<TFrame> ScenarioFrames(const std::vector<TFrame>& frames) {
    std::vector<TFrame> own;
    std::copy_if(frames.begin(), frames.end(), std::back_inserter(own), IsScenarioFrame);
    return own;
}

// lengths[i][j]: the longest common subsequence of expected[i..] and found[j..].
std::vector<std::vector<std::size_t>> CommonLengths(const std::vector<TFrame>& expected,
                                                    const std::vector<TFrame>& found) {
    std::vector<std::vector<std::size_t>> lengths(expected.size() + 1,
                                                  std::vector<std::size_t>(found.size() + 1));
    for (std::size_t i = expected.size(); i-- > 0;) {
        for (std::size_t j = found.size(); j-- > 0;) {
            lengths[i][j] = expected[i].Address == found[j].Address
                                ? lengths[i + 1][j + 1] + 1
                                : std::max(lengths[i + 1][j], lengths[i][j + 1]);
        }
    }
    return lengths;
}

}  // namespace

TJudgement JudgeWalk(const std::vector<TFrame>& gdbFrames, const std::vector<TFrame>& walked) {
    const std::vector<TFrame> expected = ScenarioFrames(FoldRecursion(gdbFrames));
    const std::vector<TFrame> found = ScenarioFrames(walked);
    const auto lengths = CommonLengths(expected, found);
    TJudgement judgement;
    judgement.Expected = expected.size();
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < expected.size() || j < found.size()) {
        if (i < expected.size() && j < found.size() && expected[i].Address == found[j].Address) {
            const bool lineDiffers = expected[i].Line != 0 && expected[i].Line != found[j].Line;
            judgement.Listing += (lineDiffers ? "  wrong line  gdb: " : "  found       gdb: ") +
                                 expected[i].Description + "\n" +
                                 "              walker: " + found[j].Description + "\n";
            ++judgement.Found;
            judgement.WrongLines += lineDiffers ? 1 : 0;
            ++i;
            ++j;
        } else if (j == found.size() ||
                   (i < expected.size() && lengths[i + 1][j] >= lengths[i][j + 1])) {
            judgement.Listing += "  missed      gdb: " + expected[i].Description + "\n";
            ++judgement.Missed;
            ++i;
        } else {
            judgement.Listing += "  false       walker: " + found[j].Description + "\n";
            ++judgement.False;
            ++j;
        }
    }
    return judgement;
}

}  // namespace crash_suite
