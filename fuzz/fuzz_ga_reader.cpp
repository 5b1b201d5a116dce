// \brief Fuzz target of the GA reader: any bytes must give a loaded test or one of the reader's
// errors, never a crash, a hang or a write outside the records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "base/exceptions.h"
#include "data/ga_reader.h"

namespace {

using namespace gatool;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool IsKnownFailure(std::string_view message) {
    return message == "Invalid floating point operation" ||
           message == "Floating point division by zero" || message == "Floating point overflow" ||
           message == "Invalid argument to date encode" ||
           message.starts_with("The GA file breaks off in scan ");
}

// Slot 0 and the slots past StepCount are never written.
void CheckUnusedSlotsStayZero(const GaTest& test) {
    for (const ScanRecord& record : test.Scans) {
        for (std::size_t i = 0; i <= MaxSteps; i = i == 0 ? StepCount + 1 : i + 1) {
            Check(record.StepPos[i] == 0);
            for (const StepArray& counts : record.Counts) {
                Check(counts[i] == 0);
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto test = std::make_unique<GaTest>();
    GaReadHooks hooks;
    const bool fivePoint = size > 0 && (data[0] & 1) != 0;
    hooks.CurrentFitWindow = [fivePoint] {
        return fivePoint ? FitWindow::FivePoint : FitWindow::SevenPoint;
    };
    hooks.ShowScan = [&test](int scan, int slit) {
        Check(scan == test->LastScan && scan >= 0 && scan < MaxScans);
        Check(slit >= 0 && slit < SlitCount);
    };
    InputStream in =
        InputStream::FromMemory(std::string(reinterpret_cast<const char*>(data), size));
    try {
        ReadGaFile(*test, in, hooks);
        Check(test->LastScan >= -1 && test->LastScan < MaxScans);
    } catch (const Exception& failure) {
        Check(IsKnownFailure(failure.what()));
        Check(test->LastScan >= -1 && test->LastScan < MaxScans);
    }
    Check(test->Header.HeaderText.size() < LineBuffer);
    CheckUnusedSlotsStayZero(*test);
    return 0;
}
