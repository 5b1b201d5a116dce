// \brief The texts of a thread section that do not come from the stack walk: its name with the
// thread's state, the text of a stack that cannot be read, and the creator line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrix {

inline constexpr std::string_view StackNotAccessible = ">> stack not accessible";

// A thread's priority as the section name shows it: the nice value when it is not 0, "realtime"
// and the real-time priority for a real-time policy; none for a normal thread.
std::optional<std::string> ThreadPriorityText(int policy, int realtimePriority, int nice);

// The display text and ":", then " <suspended>" for a stopped or paused thread and
// " <priority:" priority ">" for a thread whose priority is not normal.
std::string ThreadSectionName(std::string_view displayText,
                              bool suspended,
                              const std::optional<std::string>& priority);

// ">> stack not accessible"; for the crashed thread followed by ", exception location: ", a line
// break and the location line.
std::string StackNotAccessibleText(bool crashedThread, std::string_view locationLine);

// The call-stack lines with ">> created by " creator " at:" before the last line, which is the
// creation address.
std::string WithCreatorLine(std::string_view callStackLines, std::string_view creatorDisplayText);

}  // namespace kestrix
