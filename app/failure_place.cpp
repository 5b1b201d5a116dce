// \brief Failure places of `gatool analyze`; see failure_place.h.
#include "app/failure_place.h"

#include "app/json_text.h"

namespace gatool {

namespace {

const char* StageName(LoadStage stage) {
    switch (stage) {
        case LoadStage::None:
            break;
        case LoadStage::Header:
            return "header";
        case LoadStage::ScanBlock:
            return "scan block";
        case LoadStage::DeadTimeCorrection:
            return "dead-time correction";
        case LoadStage::PeakLocation:
            return "peak location";
        case LoadStage::SlopeFit:
            return "slope fit";
        case LoadStage::CiSimulation:
            return "CI simulation";
        case LoadStage::DcfFile:
            return "DCF file";
    }
    return "load";
}

// The DCF file's name where the stage uses the file.
std::optional<std::string> StageDcfFile(const LoadPlace& place,
                                        const std::optional<std::string>& dcfFile) {
    const bool usesDcf =
        place.Stage == LoadStage::CiSimulation || place.Stage == LoadStage::DcfFile;
    return usesDcf ? dcfFile : std::nullopt;
}

std::string JsonIndex(long index, long none) {
    return index == none ? "null" : JsonNumber(index);
}

}  // namespace

std::string DescribeFailurePlace(const LoadPlace& place,
                                 const std::optional<std::string>& dcfFile) {
    std::string text = std::string("in the ") + StageName(place.Stage);
    std::string separator = " of ";
    const auto add = [&](const char* what, int index) {
        if (index >= 0) {
            text += separator + what + ' ' + std::to_string(index);
            separator = ", ";
        }
    };
    add("scan", place.Scan);
    add("slit", place.Slit);
    add("step", place.Step);
    if (const auto dcf = StageDcfFile(place, dcfFile)) {
        text += (place.Stage == LoadStage::DcfFile ? " " : " with ") + *dcf;
    }
    if (place.Line > 0) {
        text += " (line " + std::to_string(place.Line) + ")";
    }
    return text;
}

std::string JsonFailurePlace(const LoadPlace& place, const std::optional<std::string>& dcfFile) {
    const auto dcf = StageDcfFile(place, dcfFile);
    return std::string("{\"stage\":") + JsonString(StageName(place.Stage)) +
           ",\"scan\":" + JsonIndex(place.Scan, -1) + ",\"slit\":" + JsonIndex(place.Slit, -1) +
           ",\"step\":" + JsonIndex(place.Step, -1) + ",\"line\":" + JsonIndex(place.Line, 0) +
           ",\"dcf_file\":" + (dcf ? JsonString(*dcf) : "null") + "}";
}

}  // namespace gatool
