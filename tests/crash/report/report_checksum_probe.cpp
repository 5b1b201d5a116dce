// A program that builds the report of the same failure in every run, with two waiting threads,
// and prints where its code was loaded and the report's "callstack crc".
#include <cstdio>

#include "crash/report/bug_report.h"
#include "crash/threads/thread_registry.h"
#include "tests/crash/report/failure_scene.h"

int main() {
    kestrix::JoinThreadRegistry();
    const kestrix::test::WaitingThreads workers(2);
    const auto report = kestrix::StartBugReport(kestrix::test::CaughtTestFailure());
    std::printf("code at %p\ncallstack crc %s\n",
                reinterpret_cast<void*>(&kestrix::test::RaiseTestFailure),
                report->Header()->ContentOf("callstack crc").c_str());
    return 0;
}
