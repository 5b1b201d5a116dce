// \brief The table of raised objects.
#include "crash/core/raise_time_stacks.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <unordered_map>

#include "crash/stack/guarded_read.h"

namespace kestrix {
namespace {

struct RaiseRecord {
    std::shared_ptr<const TDAPreStackItem> Stack;
    std::uintptr_t ReturnAddress = 0;
    std::uint64_t Order = 0;
    bool Handled = false;
};

struct RaiseTable {
    std::mutex Guard;
    std::unordered_map<const void*, RaiseRecord> Records;
    std::uint64_t NextOrder = 0;

    const RaiseRecord* Find(const void* object) const {
        const auto found = object != nullptr ? Records.find(object) : Records.end();
        return found != Records.end() ? &found->second : nullptr;
    }

    // Objects whose free the hook never saw can only pile up to the limit.
    void MakeRoom() {
        if (Records.size() < RaiseRecordLimit) {
            return;
        }
        Records.erase(std::min_element(
            Records.begin(), Records.end(),
            [](const auto& a, const auto& b) { return a.second.Order < b.second.Order; }));
    }
};

RaiseTable& Table() {
    static RaiseTable table;
    return table;
}

std::atomic<RaiseObserver> g_observer{nullptr};
// A throw inside the capture (out of memory) must not capture again.
thread_local bool t_recording = false;

}  // namespace

void RecordRaise(void* object,
                 const std::type_info* type,
                 std::uintptr_t framePointer,
                 std::uintptr_t stackBottom) noexcept {
    if (t_recording) {
        return;
    }
    t_recording = true;
    try {
        StartTryRead();
        auto stack = std::make_shared<TDAPreStackItem>();
        PrepareStackTrace(framePointer, std::nullopt, stackBottom, *stack);
        // The throw path's own frame, which is live while it calls here.
        const std::uintptr_t returnAddress = *reinterpret_cast<const std::uintptr_t*>(stackBottom);
        {
            RaiseTable& table = Table();
            const std::lock_guard lock(table.Guard);
            if (table.Records.count(object) == 0) {
                table.MakeRoom();
            }
            table.Records[object] = {.Stack = std::move(stack),
                                     .ReturnAddress = returnAddress,
                                     .Order = table.NextOrder++,
                                     .Handled = false};
        }
        if (const RaiseObserver observer = g_observer.load()) {
            observer({.Object = object, .Type = type});
        }
    } catch (...) {
        // Without memory the failure is reported with the stack of the place that handles it.
    }
    t_recording = false;
}

void ForgetRaise(void* object) noexcept {
    RaiseTable& table = Table();
    const std::lock_guard lock(table.Guard);
    table.Records.erase(object);
}

std::shared_ptr<const TDAPreStackItem> PreparedStackOf(const void* object) {
    RaiseTable& table = Table();
    const std::lock_guard lock(table.Guard);
    const RaiseRecord* record = table.Find(object);
    return record != nullptr ? record->Stack : nullptr;
}

std::uintptr_t RaiseReturnAddressOf(const void* object) {
    RaiseTable& table = Table();
    const std::lock_guard lock(table.Guard);
    const RaiseRecord* record = table.Find(object);
    return record != nullptr ? record->ReturnAddress : 0;
}

void MarkRaiseHandled(const void* object) {
    RaiseTable& table = Table();
    const std::lock_guard lock(table.Guard);
    if (const auto found = object != nullptr ? table.Records.find(object) : table.Records.end();
        found != table.Records.end()) {
        found->second.Handled = true;
    }
}

bool RaiseWasHandled(const void* object) {
    RaiseTable& table = Table();
    const std::lock_guard lock(table.Guard);
    const RaiseRecord* record = table.Find(object);
    return record != nullptr && record->Handled;
}

RaiseObserver SetRaiseObserver(RaiseObserver observer) {
    return g_observer.exchange(observer);
}

}  // namespace kestrix
