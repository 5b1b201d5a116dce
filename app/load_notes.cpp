// \brief Notes on GA and DCF loads; see load_notes.h.
#include "app/load_notes.h"

namespace gatool {

std::vector<std::string> GaLoadNotes(const GaLoadOutcome& outcome, int scansLoaded) {
    const GaReadSummary& read = outcome.Read;
    if (read.MoreScansThanRecords) {
        return {"the file holds more than " + std::to_string(MaxScans) + " scans; the first " +
                std::to_string(MaxScans) + " were loaded"};
    }
    if (read.UnreadAfterLine) {
        return {std::to_string(scansLoaded) + (scansLoaded == 1 ? " scan" : " scans") +
                " read; the file goes on after line " + std::to_string(*read.UnreadAfterLine) +
                " unread: no scan block (\"DARK\" and a number) begins there"};
    }
    if (scansLoaded == 0) {
        return {"the file holds no scan block (\"DARK\" and a number)"};
    }
    return {};
}

std::string ShortDcfNote(int numbersRead) {
    return "only " + std::to_string(numbersRead) +
           " of the 18 dispersion coefficients could be read; the rest stay 0";
}

}  // namespace gatool
