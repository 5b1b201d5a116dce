// \brief Thread section names and fixed texts.
#include "crash/report/thread_section_texts.h"

#include <sched.h>

namespace kestrix {

std::optional<std::string> ThreadPriorityText(int policy, int realtimePriority, int nice) {
    if (policy == SCHED_FIFO || policy == SCHED_RR)
        return "realtime " + std::to_string(realtimePriority);
    if (nice != 0)
        return std::to_string(nice);
    return std::nullopt;
}

std::string ThreadSectionName(std::string_view displayText,
                              bool suspended,
                              const std::optional<std::string>& priority) {
    std::string name = std::string(displayText) + ":";
    if (suspended)
        name += " <suspended>";
    if (priority)
        name += " <priority:" + *priority + ">";
    return name;
}

std::string StackNotAccessibleText(bool crashedThread, std::string_view locationLine) {
    std::string text(StackNotAccessible);
    if (crashedThread)
        text += ", exception location: \r\n" + std::string(locationLine);
    return text;
}

std::string WithCreatorLine(std::string_view callStackLines, std::string_view creatorDisplayText) {
    const std::string creatorLine = ">> created by " + std::string(creatorDisplayText) + " at:";
    const std::size_t lastBreak = callStackLines.rfind('\n');
    if (lastBreak == std::string_view::npos)
        return creatorLine + "\r\n" + std::string(callStackLines);
    return std::string(callStackLines.substr(0, lastBreak + 1)) + creatorLine + "\r\n" +
           std::string(callStackLines.substr(lastBreak + 1));
}

}  // namespace kestrix
