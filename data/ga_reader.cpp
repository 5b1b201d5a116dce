// \brief GA scan block reading and the reading loop; see ga_reader.h.
#include "data/ga_reader.h"

#include <string>

#include "base/exceptions.h"
#include "data/dead_time.h"
#include "data/formatted_input.h"
#include "data/ga_header_reader.h"

namespace gatool {

namespace {

constexpr const char* BlockStart = "\rDARK\r%f";

[[noreturn]] void ThrowBlockCutShort(int scan, int step, long line) {
    throw EFileFormatError("The GA file breaks off in scan " + std::to_string(scan) + " at step " +
                           std::to_string(step) + " of " + std::to_string(StepCount) + " (line " +
                           std::to_string(line) +
                           "): a step position or count there is missing or is not a number.");
}

void ReadNumber(InputStream& in, float& target, int scan, int step) {
    if (ScanSingle(in, target) != 1) {
        ThrowBlockCutShort(scan, step, in.Line());
    }
}

}  // namespace

bool ReadScanBlock(ScanRecord& record,
                   InputStream& in,
                   const GaHeader& header,
                   int scan,
                   const GaReadHooks& hooks) {
    float dark = 0;
    if (ScanFormat(in, BlockStart, {&dark}) != 1) {
        return false;
    }
    for (int i = 1; i <= StepCount; ++i) {
        ReadNumber(in, record.StepPos[static_cast<std::size_t>(i)], scan, i);
        for (int s = 0; s < SlitCount; ++s) {
            float raw = 0;
            ReadNumber(in, raw, scan, i);
            record.Counts[static_cast<std::size_t>(s)][static_cast<std::size_t>(i)] =
                CorrectDeadTime(header, dark, raw);
        }
    }
    for (int s = 0; s < SlitCount; ++s) {
        LocatePeak(record, 0, s, hooks.CurrentFitWindow());
        hooks.ShowScan(scan, s);
    }
    return true;
}

GaReadSummary ReadGaFile(GaTest& test, InputStream& in, const GaReadHooks& hooks) {
    ReadGaHeader(test.Header, in);
    GaReadSummary summary;
    while (true) {
        ++test.LastScan;
        if (test.LastScan == MaxScans) {
            float dark = 0;
            summary.MoreScansThanRecords = ScanFormat(in, BlockStart, {&dark}) == 1;
            break;
        }
        if (!ReadScanBlock(test.Scans[static_cast<std::size_t>(test.LastScan)], in, test.Header,
                           test.LastScan, hooks)) {
            break;
        }
    }
    --test.LastScan;
    return summary;
}

}  // namespace gatool
