// \brief Failure handling from the throw to the failure box on the screen: an exception raised in
// the GUI thread, handed to Kestrix, handled on its handler thread (failure object, phases, the
// bug report started and saved) and shown in the failure box, which the benchmark
// then answers with "continue application". Timed is the throw up to the box being shown.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <stdexcept>

#include "bench/offscreen_application.h"
#include "crash/core/handle_exception.h"
#include "crash/core/reporter_runtime.h"
#include "crash/core/reporter_session.h"
#include "crash/settings/exported_switches.h"
#include "crash/ui/failure_presentation.h"
#include "crash/ui/full_failure_box.h"
#include "crash/ui/picture_button.h"

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point g_boxShown;

[[gnu::noinline]] void RaiseInAHandler() {
    throw std::runtime_error("benchmark failure");
}

// Notes when the box is up and presses its continue button once it runs its loop.
void AnswerBox(QWidget* widget) {
    g_boxShown = Clock::now();
    const auto* box = dynamic_cast<kestrix::FullFailureBox*>(widget);
    if (box != nullptr) {
        QTimer::singleShot(0, box->Button(kestrix::bContinueApplication), &QPushButton::click);
    }
}

void BM_ThrowToFailureBox(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kestrix-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    gatool::OffscreenApplication();
    kestrix::SetFailurePresenter(&kestrix::PresentFailure);
    kestrix::OnExceptBoxCreate = &AnswerBox;
    const kestrix::ReporterSession session;
    if (!session.Enabled()) {
        state.SkipWithError("the reporter is not enabled");
        return;
    }
    for (auto _ : state) {
        const Clock::time_point raised = Clock::now();
        try {
            RaiseInAHandler();
        } catch (...) {
            kestrix::HandleException({.Exception = std::current_exception()});
        }
        state.SetIterationTime(std::chrono::duration<double>(g_boxShown - raised).count());
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ThrowToFailureBox)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace
