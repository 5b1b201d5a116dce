// \brief The three handler lists and their calls.
#include "crash/core/handler_registry.h"

#include <algorithm>
#include <atomic>
#include <iterator>
#include <mutex>
#include <optional>
#include <vector>

#include "crash/core/ikx_exception.h"

namespace kestrix {
namespace {

struct Entry {
    HandlerIdentity Identity;
    std::function<void(IKXException&, TExceptAction, bool&)> Call;
    TSyncType Sync = stDontSync;
    TExceptPhase Phase = epNotHandledYet;
    bool IsMethod() const { return Identity.Object != nullptr; }
};

struct HandlerLists {
    std::mutex Guard;
    std::vector<Entry> Exception;
    std::vector<Entry> Action;
    std::vector<Entry> Hidden;
};

HandlerLists& Lists() {
    static HandlerLists lists;
    return lists;
}

std::atomic<int> g_hiddenCount{0};

std::function<void(IKXException&, TExceptAction, bool&)> IgnoringAction(
    std::function<void(IKXException&, bool&)> call) {
    return [call = std::move(call)](IKXException& e, TExceptAction, bool& handled) {
        call(e, handled);
    };
}

void Add(std::vector<Entry>& list, Entry entry) {
    const std::lock_guard lock(Lists().Guard);
    list.push_back(std::move(entry));
}

void Remove(std::vector<Entry>& list, const HandlerIdentity& identity) {
    const std::lock_guard lock(Lists().Guard);
    std::erase_if(list, [&](const Entry& entry) { return entry.Identity == identity; });
}

// Methods first, then procedures, each in the order they were registered.
std::vector<Entry> CopyInCallOrder(const std::vector<Entry>& list,
                                   std::optional<TExceptPhase> phase) {
    std::vector<Entry> copy;
    {
        const std::lock_guard lock(Lists().Guard);
        std::copy_if(list.begin(), list.end(), std::back_inserter(copy),
                     [&](const Entry& entry) { return !phase || entry.Phase == *phase; });
    }
    std::stable_partition(copy.begin(), copy.end(), [](const Entry& e) { return e.IsMethod(); });
    return copy;
}

class ListCall {
  public:
    ListCall(IKXException& exception, TExceptAction action, bool callAll, bool handled)
        : m_exception(exception), m_action(action), m_callAll(callAll), m_handled(handled) {}

    bool Run(const std::vector<Entry>& entries, SynchronousCaller* caller) {
        if (entries.empty() || !m_exception.Decisions().CallHandlers) {
            return m_handled;
        }
        CallWhere(entries, [](const Entry& e) { return e.Sync == stDontSync; });
        const bool anySynchronised = std::any_of(
            entries.begin(), entries.end(), [](const Entry& e) { return e.Sync != stDontSync; });
        if (Done() || !anySynchronised) {
            return m_handled;
        }
        const bool synchronised = caller != nullptr && caller->CallInMainThread([&] {
            CallWhere(entries, [](const Entry& e) { return e.Sync != stDontSync; });
        });
        if (!synchronised) {
            CallWhere(entries, [](const Entry& e) { return e.Sync == stTrySyncCallAlways; });
        }
        return m_handled;
    }

  private:
    bool Done() const { return m_handled && !m_callAll; }

    template <typename Predicate>
    void CallWhere(const std::vector<Entry>& entries, Predicate wanted) {
        for (const Entry& entry : entries) {
            if (Done()) {
                return;
            }
            if (!wanted(entry)) {
                continue;
            }
            try {
                entry.Call(m_exception, m_action, m_handled);
            } catch (...) {
                // A failing handler is skipped; the failure being handled stays the one reported.
            }
        }
    }

    IKXException& m_exception;
    const TExceptAction m_action;
    const bool m_callAll;
    bool m_handled;
};

}  // namespace

namespace detail {

void AddExceptionHandler(HandlerIdentity identity,
                         std::function<void(IKXException&, bool&)> call,
                         TSyncType sync,
                         TExceptPhase phase) {
    Add(Lists().Exception, {identity, IgnoringAction(std::move(call)), sync, phase});
}

void AddActionHandler(HandlerIdentity identity,
                      std::function<void(IKXException&, TExceptAction, bool&)> call,
                      TSyncType sync) {
    Add(Lists().Action, {identity, std::move(call), sync, epNotHandledYet});
}

void AddHiddenHandler(HandlerIdentity identity,
                      std::function<void(IKXException&, bool&)> call,
                      TSyncType sync) {
    Add(Lists().Hidden, {identity, IgnoringAction(std::move(call)), sync, epNotHandledYet});
    ++g_hiddenCount;
}

void RemoveExceptionHandler(const HandlerIdentity& identity) {
    Remove(Lists().Exception, identity);
}

void RemoveActionHandler(const HandlerIdentity& identity) {
    Remove(Lists().Action, identity);
}

void RemoveHiddenHandler(const HandlerIdentity& identity) {
    Remove(Lists().Hidden, identity);
    const std::lock_guard lock(Lists().Guard);
    g_hiddenCount = static_cast<int>(Lists().Hidden.size());
}

HandlerIdentity ProcedureIdentity(const void* procedure) {
    HandlerIdentity identity;
    std::memcpy(identity.Method.data(), &procedure, sizeof procedure);
    return identity;
}

}  // namespace detail

void RegisterExceptionHandler(ExceptionHandlerProc handler, TSyncType sync, TExceptPhase phase) {
    detail::AddExceptionHandler(detail::ProcedureIdentity(reinterpret_cast<const void*>(handler)),
                                handler, sync, phase);
}

void RegisterExceptActionHandler(ExceptActionHandlerProc handler, TSyncType sync) {
    detail::AddActionHandler(detail::ProcedureIdentity(reinterpret_cast<const void*>(handler)),
                             handler, sync);
}

void RegisterHiddenExceptionHandler(HiddenExceptionHandlerProc handler, TSyncType sync) {
    detail::AddHiddenHandler(detail::ProcedureIdentity(reinterpret_cast<const void*>(handler)),
                             handler, sync);
}

void UnregisterExceptionHandler(ExceptionHandlerProc handler) {
    detail::RemoveExceptionHandler(
        detail::ProcedureIdentity(reinterpret_cast<const void*>(handler)));
}

void UnregisterExceptActionHandler(ExceptActionHandlerProc handler) {
    detail::RemoveActionHandler(detail::ProcedureIdentity(reinterpret_cast<const void*>(handler)));
}

void UnregisterHiddenExceptionHandler(HiddenExceptionHandlerProc handler) {
    detail::RemoveHiddenHandler(detail::ProcedureIdentity(reinterpret_cast<const void*>(handler)));
}

bool HiddenExceptionHandlersRegistered() {
    return g_hiddenCount.load() > 0;
}

bool CallExceptionHandlers(IKXException& exception,
                           TExceptPhase phase,
                           bool handled,
                           SynchronousCaller* caller) {
    // Post-processing handlers all run, whatever the earlier phases decided.
    return ListCall(exception, eaContinueApplication, phase == epPostProcessing, handled)
        .Run(CopyInCallOrder(Lists().Exception, phase), caller);
}

bool CallExceptActionHandlers(IKXException& exception,
                              TExceptAction action,
                              SynchronousCaller* caller) {
    return ListCall(exception, action, false, false)
        .Run(CopyInCallOrder(Lists().Action, std::nullopt), caller);
}

bool CallHiddenExceptionHandlers(IKXException& exception, SynchronousCaller* caller) {
    return ListCall(exception, eaContinueApplication, true, true)
        .Run(CopyInCallOrder(Lists().Hidden, std::nullopt), caller);
}

}  // namespace kestrix
