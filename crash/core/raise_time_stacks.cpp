// \brief The table of recent raises.
#include "crash/core/raise_time_stacks.h"

#include <array>
#include <atomic>
#include <mutex>

#include "crash/stack/guarded_read.h"

namespace kestrix {
namespace {

struct RaiseRecord {
    const void* Object = nullptr;
    std::shared_ptr<const TDAPreStackItem> Stack;
    bool Handled = false;
};

struct RaiseTable {
    std::mutex Guard;
    std::array<RaiseRecord, RaiseRecordCount> Records;
    std::size_t Next = 0;

    RaiseRecord* Find(const void* object) {
        for (RaiseRecord& record : Records) {
            if (record.Object == object) {
                return &record;
            }
        }
        return nullptr;
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
        {
            RaiseTable& table = Table();
            const std::lock_guard lock(table.Guard);
            RaiseRecord* record = table.Find(object);
            if (record == nullptr) {
                record = &table.Records[table.Next];
                table.Next = (table.Next + 1) % table.Records.size();
            }
            *record = {.Object = object, .Stack = std::move(stack), .Handled = false};
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
    if (RaiseRecord* record = table.Find(object)) {
        *record = {};
    }
}

std::shared_ptr<const TDAPreStackItem> PreparedStackOf(const void* object) {
    RaiseTable& table = Table();
    const std::lock_guard lock(table.Guard);
    const RaiseRecord* record = object != nullptr ? table.Find(object) : nullptr;
    return record != nullptr ? record->Stack : nullptr;
}

void MarkRaiseHandled(const void* object) {
    RaiseTable& table = Table();
    const std::lock_guard lock(table.Guard);
    if (RaiseRecord* record = object != nullptr ? table.Find(object) : nullptr) {
        record->Handled = true;
    }
}

bool RaiseWasHandled(const void* object) {
    RaiseTable& table = Table();
    const std::lock_guard lock(table.Guard);
    const RaiseRecord* record = object != nullptr ? table.Find(object) : nullptr;
    return record != nullptr && record->Handled;
}

RaiseObserver SetRaiseObserver(RaiseObserver observer) {
    return g_observer.exchange(observer);
}

}  // namespace kestrix
