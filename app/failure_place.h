// \brief Where a load or refresh failed, as `gatool analyze` prints it: the stage, the scan, slit
// and step, the line of the file, and the DCF file whose coefficients were in use.
#pragma once

#include <optional>
#include <string>

#include "data/load_place.h"

namespace gatool {

// "in the dead-time correction of scan 3, slit 2, step 7 (line 120)" and the like; the CI
// simulation and the reading of a DCF file name `dcfFile`.
std::string DescribeFailurePlace(const LoadPlace& place, const std::optional<std::string>& dcfFile);

// The same as a JSON object: "stage", "scan", "slit", "step", "line" and "dcf_file", null where
// they do not apply.
std::string JsonFailurePlace(const LoadPlace& place, const std::optional<std::string>& dcfFile);

}  // namespace gatool
