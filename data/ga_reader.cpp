// \brief GA scan block reading and the reading loop; see ga_reader.h.
#include "data/ga_reader.h"

#include <string>

#include "base/exceptions.h"
#include "data/dead_time.h"
#include "data/formatted_input.h"
#include "data/ga_header_reader.h"
#include "data/text_encoding.h"

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
    LoadPlace unplaced;
    LoadPlace& place = hooks.Place ? *hooks.Place : unplaced;
    place = {LoadStage::ScanBlock, scan, -1, 0, place.Line};
    float dark = 0;
    if (ScanFormat(in, BlockStart, {&dark}) != 1) {
        return false;
    }
    for (int i = 1; i <= StepCount; ++i) {
        place.Step = i;
        place.Slit = -1;
        place.Stage = LoadStage::ScanBlock;
        ReadNumber(in, record.StepPos[static_cast<std::size_t>(i)], scan, i);
        for (int s = 0; s < SlitCount; ++s) {
            place.Slit = s;
            place.Stage = LoadStage::ScanBlock;
            float raw = 0;
            ReadNumber(in, raw, scan, i);
            place.Stage = LoadStage::DeadTimeCorrection;
            record.Counts[static_cast<std::size_t>(s)][static_cast<std::size_t>(i)] =
                CorrectDeadTime(header, dark, raw);
        }
    }
    place.Stage = LoadStage::PeakLocation;
    place.Step = -1;
    for (int s = 0; s < SlitCount; ++s) {
        place.Slit = s;
        LocatePeak(record, 0, s, hooks.CurrentFitWindow());
        hooks.ShowScan(scan, s);
    }
    return true;
}

GaReadSummary ReadGaFile(GaTest& test, InputStream& in, const GaReadHooks& hooks) {
    if (hooks.Place) {
        *hooks.Place = {LoadStage::Header};
    }
    SkipByteOrderMark(in);
    ReadGaHeader(test.Header, in);
    GaReadSummary summary;
    while (true) {
        ++test.LastScan;
        // Where the next block should begin: text there that begins none is left unread.
        ScanFormat(in, " ", {});
        const long blockLine = in.Line();
        const bool atEnd = in.Peek() == InputStream::EndOfFile;
        const bool blockRead = test.LastScan < MaxScans &&
                               ReadScanBlock(test.Scans[static_cast<std::size_t>(test.LastScan)],
                                             in, test.Header, test.LastScan, hooks);
        if (!blockRead) {
            float dark = 0;
            summary.MoreScansThanRecords =
                test.LastScan == MaxScans && ScanFormat(in, BlockStart, {&dark}) == 1;
            if (!atEnd) {
                summary.UnreadAfterLine = static_cast<int>(blockLine - 1);
            }
            break;
        }
    }
    --test.LastScan;
    return summary;
}

}  // namespace gatool
