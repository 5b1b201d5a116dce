// \brief Fuzz target of the GA reader: any bytes must give a loaded test or one of the reader's
// errors, never a crash, a hang or a write outside the records. The bytes are read twice: from
// memory, and from a file in chunks whose size the first byte picks, so that numbers and lines run
// across the file reads; both must give the same test and the same outcome.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
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
           message.starts_with("The GA file breaks off in scan ") ||
           message.starts_with("The file is UTF-16 text") ||
           message.starts_with("The header's text line");
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

// What one read of the bytes gave.
struct ReadResult {
    std::unique_ptr<GaTest> Test = std::make_unique<GaTest>();
    GaReadSummary Summary;
    std::string Failure;
};

ReadResult Read(InputStream& in, bool fivePoint) {
    ReadResult result;
    GaTest& test = *result.Test;
    GaReadHooks hooks;
    hooks.CurrentFitWindow = [fivePoint] {
        return fivePoint ? FitWindow::FivePoint : FitWindow::SevenPoint;
    };
    hooks.ShowScan = [&test](int scan, int slit) {
        Check(scan == test.LastScan && scan >= 0 && scan < MaxScans);
        Check(slit >= 0 && slit < SlitCount);
    };
    try {
        result.Summary = ReadGaFile(test, in, hooks);
    } catch (const Exception& failure) {
        Check(IsKnownFailure(failure.what()));
        result.Failure = failure.what();
    }
    Check(test.LastScan >= -1 && test.LastScan < MaxScans);
    Check(test.Header.HeaderText.size() < LineBuffer);
    CheckUnusedSlotsStayZero(test);
    return result;
}

// The same bits, so that NaN fields compare equal too.
template <typename Value>
bool SameBytes(const Value& a, const Value& b) {
    return std::memcmp(&a, &b, sizeof(Value)) == 0;
}

void CheckSame(const ReadResult& a, const ReadResult& b) {
    Check(a.Failure == b.Failure);
    Check(a.Summary.MoreScansThanRecords == b.Summary.MoreScansThanRecords);
    Check(a.Summary.UnreadAfterLine == b.Summary.UnreadAfterLine);
    Check(a.Test->LastScan == b.Test->LastScan);
    Check(a.Test->Header.HeaderText == b.Test->Header.HeaderText);
    Check(SameBytes(a.Test->Header.IntegrationTime, b.Test->Header.IntegrationTime));
    Check(SameBytes(a.Test->Header.DeadTime, b.Test->Header.DeadTime));
    Check(a.Test->Header.Cy == b.Test->Header.Cy);
    for (std::size_t k = 0; k < MaxScans; ++k) {
        Check(SameBytes(a.Test->Scans[k].StepPos, b.Test->Scans[k].StepPos));
        Check(SameBytes(a.Test->Scans[k].Counts, b.Test->Scans[k].Counts));
        Check(SameBytes(a.Test->Scans[k].PeakPos, b.Test->Scans[k].PeakPos));
    }
}

// A file of this process, rewritten for every input.
const std::filesystem::path& ScratchFile() {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("fuzz_ga_reader_" + std::to_string(::getpid()));
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const bool fivePoint = size > 0 && (data[0] & 1) != 0;
    const std::size_t chunkSize = InputStream::MinimumChunkSize + (size > 0 ? data[0] >> 1 : 0);

    InputStream memory = InputStream::FromMemory(bytes);
    const ReadResult fromMemory = Read(memory, fivePoint);

    std::ofstream(ScratchFile(), std::ios::binary | std::ios::trunc) << bytes;
    InputStream file = InputStream::FromFile(ScratchFile(), chunkSize);
    CheckSame(fromMemory, Read(file, fivePoint));
    return 0;
}
