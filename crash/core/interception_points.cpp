// \brief The runtime's and Qt's interception points.
#include "crash/core/interception_points.h"

#include <QString>
#include <cstdlib>

#include "crash/core/handle_exception.h"
#include "crash/core/kes_exception.h"
#include "crash/core/raise_time_stacks.h"
#include "crash/core/reporter_runtime.h"
#include "crash/threads/thread_context_capture.h"
#include "crash/threads/thread_frame.h"
#include "crash/threads/thread_registry.h"

namespace kestrix {
namespace {

std::terminate_handler g_previousTerminate = nullptr;
QtMessageHandler g_previousMessageHandler = nullptr;

// An exception escaping a thread procedure: the thread ends afterwards.
void HandleThreadFrameFailure() {
    HandleException({.Source = esThreadFrame});
}

// With an exception on its way the failure is that exception, raised where it was raised (Qt
// ends a QThread whose run() lets one escape this way); otherwise an abnormal termination.
[[noreturn]] void HandleTermination() {
    const std::exception_ptr escaping = std::current_exception();
    ExceptionValues values{.CanContinue = false, .Source = esBcbAbnormalProgramTermination};
    values.Exception = escaping ? escaping : std::make_exception_ptr(BcbTermination());
    HandleException(std::move(values));
    // No reporter took it: the runtime's own end.
    std::set_terminate(g_previousTerminate);
    std::abort();
}

void HandleQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        if (g_previousMessageHandler != nullptr) {
            g_previousMessageHandler(type, context, text);
        }
        return;
    }
    // Qt aborts when this returns; the failure is handled first so that its text is kept.
    ExceptionValues values{.CanContinue = false, .Source = esRuntimeError};
    values.Exception = std::make_exception_ptr(KesException(text.toStdString()));
    values.Address = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
    HandleException(std::move(values));
    if (g_previousMessageHandler != nullptr) {
        g_previousMessageHandler(type, context, text);
    }
}

// Every raise while hidden-exception handlers are registered, unless failure handling has seen
// the object already.
void HandleRaise(const ThrownObject& object) {
    if (!HiddenExceptionHandlersRegistered() || RaiseWasHandled(object.Object)) {
        return;
    }
    HandleException({.Type = etHidden, .Object = object, .Source = esHidden});
}

}  // namespace

InterceptionPoints::InterceptionPoints() {
    m_previousMessageHandler = qInstallMessageHandler(&HandleQtMessage);
    g_previousMessageHandler = m_previousMessageHandler;
    SetThreadFrameHandler(&HandleThreadFrameFailure);
    SetRaiseObserver(&HandleRaise);
    m_previousTerminate = std::set_terminate(&HandleTermination);
    g_previousTerminate = m_previousTerminate;
}

InterceptionPoints::~InterceptionPoints() {
    std::set_terminate(m_previousTerminate);
    SetRaiseObserver(nullptr);
    SetThreadFrameHandler(nullptr);
    qInstallMessageHandler(m_previousMessageHandler);
}

void HandleFreeze() {
    const ThreadId mainThread = MainThreadId();
    ExceptionValues values{
        .Type = etFrozen, .Source = esAntiFreezeCheck, .CrashedThread = mainThread};
    // The frozen thread's stack as it stands now.
    if (const auto context = CaptureThreadContext(mainThread)) {
        values.Address = context->InstructionPointer;
        values.StackPointer = context->StackPointer;
        values.FramePointer = context->FramePointer;
        values.StackTop = context->StackTop;
    }
    HandleException(std::move(values));
}

void InstallUnhandledExceptionFilter() {}

}  // namespace kestrix
