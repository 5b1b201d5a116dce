// \brief The sent failures, known by their owner so that a new failure at a freed address is
// never taken for an old one.
#include "crash/delivery/delivery_state.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace kestrix {
namespace {

std::mutex& Guard() {
    static std::mutex guard;
    return guard;
}

struct MarkedFailure {
    std::weak_ptr<IKXException> Failure;
    TDeliveryMark Mark;
};

std::vector<MarkedFailure>& Marks() {
    static std::vector<MarkedFailure> marks;
    return marks;
}

bool SameOwner(const std::weak_ptr<IKXException>& a, const std::shared_ptr<IKXException>& b) {
    return !a.owner_before(b) && !b.owner_before(a);
}

bool IsMarkedLocked(const std::shared_ptr<IKXException>& failure, TDeliveryMark mark) {
    const auto& marks = Marks();
    return std::any_of(marks.begin(), marks.end(), [&](const MarkedFailure& entry) {
        return entry.Mark == mark && SameOwner(entry.Failure, failure);
    });
}

}  // namespace

void Mark(const std::shared_ptr<IKXException>& failure, TDeliveryMark mark) {
    MarkFirst(failure, mark);
}

bool IsMarked(const std::shared_ptr<IKXException>& failure, TDeliveryMark mark) {
    const std::lock_guard lock(Guard());
    return IsMarkedLocked(failure, mark);
}

bool MarkFirst(const std::shared_ptr<IKXException>& failure, TDeliveryMark mark) {
    const std::lock_guard lock(Guard());
    if (IsMarkedLocked(failure, mark)) {
        return false;
    }
    auto& marks = Marks();
    std::erase_if(marks, [](const MarkedFailure& entry) { return entry.Failure.expired(); });
    marks.push_back({failure, mark});
    return true;
}

}  // namespace kestrix
