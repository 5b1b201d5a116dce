// \brief Notes after a GA load; see load_notes.h.
#include "ui/load_notes.h"

namespace gatool {

namespace {

std::string ScansText(int count) {
    return std::to_string(count) + (count == 1 ? " scan" : " scans");
}

}  // namespace

bool GsGiBelongToFile(std::optional<GsGiSource> source) {
    return source == GsGiSource::Fit || source == GsGiSource::Manual;
}

std::string GaLoadNotes(const GaLoadOutcome& outcome, std::optional<GsGiSource> source) {
    std::string notes;
    const auto add = [&notes](const std::string& note) {
        notes += (notes.empty() ? "" : "\n") + note;
    };
    if (!source) {
        add("The load failed after " + ScansText(outcome.ScansRead) +
            ": GS and GI are not this file's.");
    } else if (!GsGiBelongToFile(source)) {
        add(ScansText(outcome.ScansRead) + " read, no fit. " + DescribeGsGiSource(*source));
    }
    if (outcome.Read.UnreadAfterLine) {
        std::string unread = "the file goes on after line " +
                             std::to_string(*outcome.Read.UnreadAfterLine) + " unread.";
        // The count of scans once, in the first note.
        if (notes.empty()) {
            add(ScansText(outcome.ScansRead) + " read: " + unread);
        } else {
            unread[0] = 'T';
            add(unread);
        }
    }
    if (outcome.Read.MoreScansThanRecords) {
        add("The file holds more than " + std::to_string(MaxScans) + " scans; the first " +
            std::to_string(MaxScans) + " were loaded.");
    }
    return notes;
}

}  // namespace gatool
