// \brief Reading the scan blocks of a GA file into the test data, correcting every count and
// locating every slit's peak as each block is read.
#pragma once

#include <functional>
#include <optional>

#include "analysis/peak_location.h"
#include "data/ga_test.h"
#include "data/input_stream.h"
#include "data/load_place.h"

namespace gatool {

// What the caller supplies to a load: the fit window, asked afresh for every peak location, and the
// display of a scan, called for each slit of each block once its peak is located, and where the
// reading is kept, when given (its Line is left to whoever holds the stream).
struct GaReadHooks {
    std::function<FitWindow()> CurrentFitWindow = [] { return FitWindow::SevenPoint; };
    std::function<void(int scan, int slit)> ShowScan = [](int, int) {};
    LoadPlace* Place = nullptr;
};

struct GaReadSummary {
    // The file held further blocks after MaxScans; they were not read.
    bool MoreScansThanRecords = false;
    // The load stopped before the end of the file's content: the 1-based number of the last line
    // read, when text other than white space follows it unread.
    std::optional<int> UnreadAfterLine;
};

// Reads one block ("DARK", the dark count, StepCount steps of a position and six raw counts) into
// `record`, then locates the peak of slits 0..5 and shows each. Returns false, storing nothing,
// when no block begins here: the text is not "DARK" and a number. Raises EFileFormatError when a
// block breaks off before its last count, and the floating-point faults of the correction and the
// peak location.
bool ReadScanBlock(ScanRecord& record,
                   InputStream& in,
                   const GaHeader& header,
                   int scan,
                   const GaReadHooks& hooks);

// The reading loop of a GA load: a UTF-8 byte-order mark is skipped (UTF-16 text raises
// EFileFormatError), then the header, then blocks into records 0, 1, 2, ... until no block begins
// or all MaxScans records are filled. Expects test.LastScan to be -1; leaves it at the last
// block read (-1 for none). On a failure, LastScan is the index of the block being read and the
// records before it keep what was read.
GaReadSummary ReadGaFile(GaTest& test, InputStream& in, const GaReadHooks& hooks);

}  // namespace gatool
