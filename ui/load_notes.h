// \brief The plain notes the main window shows after a GA load about what the load did not give:
// no GS/GI fit of this file, a read that stopped before the end of the file, a file with more scan
// blocks than the tool holds.
#pragma once

#include <optional>
#include <string>

#include "analysis/gs_gi.h"
#include "app/load_flows.h"

namespace gatool {

// One note per line; empty when the load read the whole file and fitted GS and GI from it (or took
// them from the boxes in manual mode). `source` is where the load's slope refresh took GS and GI
// from; nothing when the load failed before that refresh.
std::string GaLoadNotes(const GaLoadOutcome& outcome, std::optional<GsGiSource> source);

// Whether GS and GI of `source` belong to the loaded file: fitted from it, or typed in manual mode.
bool GsGiBelongToFile(std::optional<GsGiSource> source);

}  // namespace gatool
