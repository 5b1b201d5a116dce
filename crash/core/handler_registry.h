// \brief The handler registry: exception handlers (each for one phase), action handlers and
// hidden-exception handlers, each a procedure or an object's method with the way it wants to be
// synchronised with the main thread. The lists are copied before they are walked, so a handler may
// register or unregister others while a failure is handled.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <functional>

#include "crash/core/exception_enums.h"

namespace kestrix {

class IKXException;

using ExceptionHandlerProc = void (*)(IKXException& exception, bool& handled);
using ExceptActionHandlerProc = void (*)(IKXException& exception,
                                         TExceptAction action,
                                         bool& handled);
using HiddenExceptionHandlerProc = ExceptionHandlerProc;

// Runs a call in the main thread and waits for it; false when the main thread did not answer the
// probe in time, and the call did not run.
class SynchronousCaller {
  public:
    virtual ~SynchronousCaller() = default;
    virtual bool CallInMainThread(const std::function<void()>& call) = 0;
};

// How a method handler is found again to unregister it: its object and its member pointer bytes.
struct HandlerIdentity {
    const void* Object = nullptr;
    std::array<std::byte, 2 * sizeof(void*)> Method{};
    friend bool operator==(const HandlerIdentity&, const HandlerIdentity&) = default;
};

template <typename Object, typename Method>
HandlerIdentity MethodIdentity(const Object* object, Method method) {
    static_assert(sizeof(Method) <= sizeof(HandlerIdentity::Method));
    HandlerIdentity identity{.Object = object};
    std::memcpy(identity.Method.data(), &method, sizeof method);
    return identity;
}

namespace detail {
void AddExceptionHandler(HandlerIdentity identity,
                         std::function<void(IKXException&, bool&)> call,
                         TSyncType sync,
                         TExceptPhase phase);
void AddActionHandler(HandlerIdentity identity,
                      std::function<void(IKXException&, TExceptAction, bool&)> call,
                      TSyncType sync);
void AddHiddenHandler(HandlerIdentity identity,
                      std::function<void(IKXException&, bool&)> call,
                      TSyncType sync);
void RemoveExceptionHandler(const HandlerIdentity& identity);
void RemoveActionHandler(const HandlerIdentity& identity);
void RemoveHiddenHandler(const HandlerIdentity& identity);
HandlerIdentity ProcedureIdentity(const void* procedure);
}  // namespace detail

void RegisterExceptionHandler(ExceptionHandlerProc handler, TSyncType sync, TExceptPhase phase);
void RegisterExceptActionHandler(ExceptActionHandlerProc handler, TSyncType sync);
void RegisterHiddenExceptionHandler(HiddenExceptionHandlerProc handler, TSyncType sync);
void UnregisterExceptionHandler(ExceptionHandlerProc handler);
void UnregisterExceptActionHandler(ExceptActionHandlerProc handler);
void UnregisterHiddenExceptionHandler(HiddenExceptionHandlerProc handler);

template <typename Object>
void RegisterExceptionHandler(Object* object,
                              void (Object::*method)(IKXException&, bool&),
                              TSyncType sync,
                              TExceptPhase phase) {
    detail::AddExceptionHandler(
        MethodIdentity(object, method),
        [object, method](IKXException& e, bool& handled) { (object->*method)(e, handled); }, sync,
        phase);
}
template <typename Object>
void RegisterExceptActionHandler(Object* object,
                                 void (Object::*method)(IKXException&, TExceptAction, bool&),
                                 TSyncType sync) {
    detail::AddActionHandler(
        MethodIdentity(object, method),
        [object, method](IKXException& e, TExceptAction a, bool& handled) {
            (object->*method)(e, a, handled);
        },
        sync);
}
template <typename Object>
void RegisterHiddenExceptionHandler(Object* object,
                                    void (Object::*method)(IKXException&, bool&),
                                    TSyncType sync) {
    detail::AddHiddenHandler(
        MethodIdentity(object, method),
        [object, method](IKXException& e, bool& handled) { (object->*method)(e, handled); }, sync);
}
template <typename Object>
void UnregisterExceptionHandler(Object* object, void (Object::*method)(IKXException&, bool&)) {
    detail::RemoveExceptionHandler(MethodIdentity(object, method));
}
template <typename Object>
void UnregisterExceptActionHandler(Object* object,
                                   void (Object::*method)(IKXException&, TExceptAction, bool&)) {
    detail::RemoveActionHandler(MethodIdentity(object, method));
}
template <typename Object>
void UnregisterHiddenExceptionHandler(Object* object,
                                      void (Object::*method)(IKXException&, bool&)) {
    detail::RemoveHiddenHandler(MethodIdentity(object, method));
}

bool HiddenExceptionHandlersRegistered();

// The calls of one list for one event; they return whether the failure counts as handled. Nothing
// is called when the failure's class filter turned handlers off. Method handlers come before
// procedures; the ones that do not synchronise run in the calling thread first, then the others
// in the main thread through `caller` (none: never), and when that fails the
// stTrySyncCallAlways ones in the calling thread after all. A failing handler is skipped.
bool CallExceptionHandlers(IKXException& exception,
                           TExceptPhase phase,
                           bool handled,
                           SynchronousCaller* caller);
bool CallExceptActionHandlers(IKXException& exception,
                              TExceptAction action,
                              SynchronousCaller* caller);
// Every hidden-exception handler is called; `handled` starts set.
bool CallHiddenExceptionHandlers(IKXException& exception, SynchronousCaller* caller);

}  // namespace kestrix
