// The handler lists: call order, the handled flag, guarded calls and the three ways to
// synchronise with the main thread.
#include "crash/core/handler_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "crash/core/handle_exception.h"
#include "crash/settings/module_settings.h"

namespace kestrix {
namespace {

std::vector<std::string> g_calls;

void FirstProcedure(IKXException&, bool&) {
    g_calls.push_back("first procedure");
}
void HandlingProcedure(IKXException&, bool& handled) {
    g_calls.push_back("handling procedure");
    handled = true;
}
void FailingProcedure(IKXException&, bool&) {
    g_calls.push_back("failing procedure");
    throw std::runtime_error("handler failure");
}
void ClearingProcedure(IKXException&, bool& handled) {
    g_calls.push_back("clearing procedure");
    handled = false;
}
void ActionProcedure(IKXException&, TExceptAction action, bool&) {
    g_calls.push_back("action " + std::to_string(action));
}

struct Recorder {
    std::string Name;
    void Handle(IKXException&, bool&) { g_calls.push_back(Name); }
};

// Runs the synchronised calls in a thread of its own, as the main thread would, or refuses.
class FakeMainThread : public SynchronousCaller {
  public:
    explicit FakeMainThread(bool answers) : m_answers(answers) {}
    bool CallInMainThread(const std::function<void()>& call) override {
        if (!m_answers) {
            return false;
        }
        std::thread([&] {
            g_calls.push_back("main thread:");
            call();
        }).join();
        return true;
    }

  private:
    bool m_answers;
};

class HandlerRegistry : public ::testing::Test {
  protected:
    HandlerRegistry() { g_calls.clear(); }
    ~HandlerRegistry() override {
        for (auto procedure :
             {&FirstProcedure, &HandlingProcedure, &FailingProcedure, &ClearingProcedure}) {
            UnregisterExceptionHandler(procedure);
            UnregisterHiddenExceptionHandler(procedure);
        }
        UnregisterExceptActionHandler(&ActionProcedure);
        UnregisterExceptionHandler(&m_recorder, &Recorder::Handle);
        UnregisterHiddenExceptionHandler(&m_recorder, &Recorder::Handle);
    }

    std::shared_ptr<IKXException> m_exception = NewException({}, KXSettings());
    Recorder m_recorder{"method"};
};

TEST_F(HandlerRegistry, CallsMethodsBeforeProceduresAndOnlyThoseOfThePhase) {
    RegisterExceptionHandler(&FirstProcedure, stDontSync, epMainPhase);
    RegisterExceptionHandler(&m_recorder, &Recorder::Handle, stDontSync, epMainPhase);
    RegisterExceptionHandler(&HandlingProcedure, stDontSync, epPostProcessing);
    EXPECT_FALSE(CallExceptionHandlers(*m_exception, epMainPhase, false, nullptr));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"method", "first procedure"}));
}

TEST_F(HandlerRegistry, StopsAtHandledAndSkipsAFailingHandler) {
    RegisterExceptionHandler(&FailingProcedure, stDontSync, epMainPhase);
    RegisterExceptionHandler(&HandlingProcedure, stDontSync, epMainPhase);
    RegisterExceptionHandler(&FirstProcedure, stDontSync, epMainPhase);
    EXPECT_TRUE(CallExceptionHandlers(*m_exception, epMainPhase, false, nullptr));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"failing procedure", "handling procedure"}));
}

TEST_F(HandlerRegistry, CallsPostProcessingHandlersAlsoWhenHandled) {
    RegisterExceptionHandler(&FirstProcedure, stDontSync, epPostProcessing);
    RegisterExceptionHandler(&FirstProcedure, stDontSync, epMainPhase);
    EXPECT_TRUE(CallExceptionHandlers(*m_exception, epMainPhase, true, nullptr));
    EXPECT_TRUE(g_calls.empty());
    EXPECT_TRUE(CallExceptionHandlers(*m_exception, epPostProcessing, true, nullptr));
    EXPECT_EQ(g_calls, std::vector<std::string>{"first procedure"});
}

TEST_F(HandlerRegistry, CallsNothingWhenTheClassFilterTurnedHandlersOff) {
    RegisterExceptionHandler(&FirstProcedure, stDontSync, epMainPhase);
    FilterDecisions decisions = m_exception->Decisions();
    decisions.CallHandlers = false;
    m_exception->SetDecisions(decisions);
    EXPECT_FALSE(CallExceptionHandlers(*m_exception, epMainPhase, false, nullptr));
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(HandlerRegistry, CallsTheUnsynchronisedFirstThenTheOthersInTheMainThread) {
    RegisterExceptionHandler(&m_recorder, &Recorder::Handle, stTrySyncCallOnSuccess, epMainPhase);
    RegisterExceptionHandler(&FirstProcedure, stDontSync, epMainPhase);
    FakeMainThread mainThread(true);
    CallExceptionHandlers(*m_exception, epMainPhase, false, &mainThread);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"first procedure", "main thread:", "method"}));
}

TEST_F(HandlerRegistry, RunsOnlyTheAlwaysHandlersHereWhenTheMainThreadDoesNotAnswer) {
    RegisterExceptionHandler(&m_recorder, &Recorder::Handle, stTrySyncCallOnSuccess, epMainPhase);
    RegisterExceptionHandler(&FirstProcedure, stTrySyncCallAlways, epMainPhase);
    FakeMainThread silentMainThread(false);
    CallExceptionHandlers(*m_exception, epMainPhase, false, &silentMainThread);
    EXPECT_EQ(g_calls, std::vector<std::string>{"first procedure"});
}

TEST_F(HandlerRegistry, CallsEveryHiddenHandlerWithHandledSetAtFirst) {
    RegisterHiddenExceptionHandler(&HandlingProcedure, stDontSync);
    RegisterHiddenExceptionHandler(&FirstProcedure, stDontSync);
    EXPECT_TRUE(HiddenExceptionHandlersRegistered());
    EXPECT_TRUE(CallHiddenExceptionHandlers(*m_exception, nullptr));
    RegisterHiddenExceptionHandler(&ClearingProcedure, stDontSync);
    EXPECT_FALSE(CallHiddenExceptionHandlers(*m_exception, nullptr));
    EXPECT_EQ(g_calls.size(), 5u);
    UnregisterHiddenExceptionHandler(&HandlingProcedure);
    UnregisterHiddenExceptionHandler(&FirstProcedure);
    UnregisterHiddenExceptionHandler(&ClearingProcedure);
    EXPECT_FALSE(HiddenExceptionHandlersRegistered());
}

TEST_F(HandlerRegistry, PassesTheActionAndForgetsUnregisteredHandlers) {
    RegisterExceptActionHandler(&ActionProcedure, stDontSync);
    CallExceptActionHandlers(*m_exception, eaRestartApplication, nullptr);
    UnregisterExceptActionHandler(&ActionProcedure);
    CallExceptActionHandlers(*m_exception, eaCloseApplication, nullptr);
    EXPECT_EQ(g_calls, std::vector<std::string>{"action 5"});
}

// A handler may change the lists while they are walked: the walk uses a copy.
void UnregisteringProcedure(IKXException&, bool&) {
    g_calls.push_back("unregistering procedure");
    UnregisterExceptionHandler(&FirstProcedure);
    UnregisterExceptionHandler(&UnregisteringProcedure);
}

TEST_F(HandlerRegistry, LetsAHandlerUnregisterWhileTheListIsWalked) {
    RegisterExceptionHandler(&UnregisteringProcedure, stDontSync, epMainPhase);
    RegisterExceptionHandler(&FirstProcedure, stDontSync, epMainPhase);
    CallExceptionHandlers(*m_exception, epMainPhase, false, nullptr);
    CallExceptionHandlers(*m_exception, epMainPhase, false, nullptr);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"unregistering procedure", "first procedure"}));
}

}  // namespace
}  // namespace kestrix
