// A program that fails a given number of times and applies the automatic close rule after each
// failure, as failure handling does; when asked, it restarts itself once in between, and the
// restarted process goes on counting from the times the old one handed over.
//
//   kestrix_outcome_probe AUTOCLOSE FAILURES [FAILURES_AFTER_RESTART]
//
// It prints what it does, one line at a time, and flushes before every outcome, which runs no
// finalisation. An exit handler prints "finalised" so that a test sees whether one ran.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "crash/settings/module_settings.h"
#include "crash/threads/application_close.h"
#include "crash/threads/application_restart.h"
#include "crash/threads/automatic_outcome.h"
#include "crash/threads/recent_failure_times.h"

namespace {

void PrintTimes(const char* who) {
    for (const std::uint64_t time : kestrix::RecentFailureTimes()) {
        std::printf("%s time %llu\n", who, static_cast<unsigned long long>(time));
    }
}

char ProcessState(pid_t process) {
    std::ifstream stat("/proc/" + std::to_string(process) + "/stat");
    std::string field;
    for (int i = 0; i < 3 && stat >> field; ++i) {
    }
    return stat ? field.front() : 'X';
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s AUTOCLOSE FAILURES [FAILURES_AFTER_RESTART]\n", argv[0]);
        return 64;
    }
    std::atexit([] { std::printf("finalised\n"); });
    const std::optional<pid_t> oldProcess = kestrix::TakeOverRestart();
    const bool restartAsked = argc > 3;
    if (oldProcess) {
        // Gone or a zombie: the take-over has waited for its end.
        std::printf("old process %d state %c\n", *oldProcess, ProcessState(*oldProcess));
        PrintTimes("new");
    }
    const auto settings = kestrix::KXSettings();
    settings->SetAutoClose(std::atoi(argv[1]));
    const int failures = std::atoi(argv[oldProcess ? 3 : 2]);

    // Failures are handled on a thread of their own, as the handler thread does.
    std::thread([&] {
        for (int failure = 1; failure <= failures; ++failure) {
            kestrix::RecordFailureTime();
            if (kestrix::AutomaticOutcomeApplies(settings->AutoClose())) {
                std::printf("closing after failure %d\n", failure);
                std::fflush(stdout);
                kestrix::CloseApplication();
            }
        }
        if (restartAsked && !oldProcess) {
            PrintTimes("old");
            std::printf("restarting %d\n", getpid());
            std::fflush(stdout);
            kestrix::RestartApplication();
        }
    }).join();
    std::printf("continuing\n");
    return 0;
}
