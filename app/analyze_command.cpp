// \brief `gatool analyze`; see analyze_command.h.
#include "app/analyze_command.h"

#include <charconv>
#include <iomanip>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/exceptions.h"
#include "data/ga_reader.h"

namespace gatool {

namespace {

constexpr const char* Usage =
    "Usage: gatool analyze GAFILE [--fit 5|7]\n"
    "\n"
    "Reads a GA file, corrects every count for the dark count and dead time, locates the peak of\n"
    "each slit in each scan and prints, per scan and slit, the peak step, the fitted peak "
    "position\n"
    "and height, the offset from the scan's midpoint and the centre of mass.\n"
    "\n"
    "Options:\n"
    "  --fit 5|7   points of the least-squares quadratic around the peak step (default 7)\n"
    "  --help      show this text\n";

struct AnalyzeOptions {
    std::string GaFile;
    FitWindow Window = FitWindow::SevenPoint;
};

class UsageError : public Exception {
  public:
    using Exception::Exception;
};

AnalyzeOptions ParseOptions(std::span<const std::string_view> arguments) {
    AnalyzeOptions options;
    bool haveFile = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--fit") {
            if (i + 1 == arguments.size()) {
                throw UsageError("--fit needs a value: 5 or 7");
            }
            const std::string_view value = arguments[++i];
            if (value != "5" && value != "7") {
                throw UsageError("--fit takes 5 or 7, not \"" + std::string(value) + "\"");
            }
            options.Window = value == "5" ? FitWindow::FivePoint : FitWindow::SevenPoint;
        } else if (argument.starts_with("-")) {
            throw UsageError("unknown option \"" + std::string(argument) + "\"");
        } else if (haveFile) {
            throw UsageError("one GA file at a time");
        } else {
            options.GaFile = argument;
            haveFile = true;
        }
    }
    if (!haveFile) {
        throw UsageError("no GA file given");
    }
    return options;
}

// The shortest text that reads back to the same value, independent of the locale.
template <typename Number>
std::string NumberText(Number value) {
    char buffer[64];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value);
    return std::string(buffer, result.ptr);
}

void PrintPeaks(const GaTest& test, std::ostream& out) {
    out << "scan slit step position height offset centre_of_mass\n";
    for (int scan = 0; scan <= test.LastScan; ++scan) {
        const ScanRecord& record = test.Scans[static_cast<std::size_t>(scan)];
        for (std::size_t s = 0; s < SlitCount; ++s) {
            out << scan << ' ' << s << ' ' << record.PeakIndex[s] << ' '
                << NumberText(record.PeakPos[s]) << ' ' << NumberText(record.PeakCount[s]) << ' '
                << NumberText(record.PeakOffset[s]) << ' ' << NumberText(record.CentreOfMass[s])
                << '\n';
        }
    }
}

// Loads one GA file the way the window's load does, up to the peaks of every scan.
bool AnalyzeFile(const AnalyzeOptions& options, std::ostream& out, std::ostream& err) {
    // Large: kept off the stack.
    auto test = std::make_unique<GaTest>();
    test->LastScan = -1;
    test->SelectedScan = 1;
    GaReadHooks hooks;
    hooks.CurrentFitWindow = [&options] { return options.Window; };
    try {
        InputStream in = InputStream::FromFile(options.GaFile);
        const GaReadSummary summary = ReadGaFile(*test, in, hooks);
        test->SelectedScan = 0;
        out << options.GaFile << ": " << test->LastScan + 1 << " scans, "
            << (options.Window == FitWindow::FivePoint ? 5 : 7) << "-point fit\n";
        if (summary.MoreScansThanRecords) {
            out << "note: the file holds more than " << MaxScans << " scans; the first " << MaxScans
                << " were loaded\n";
        }
        PrintPeaks(*test, out);
        return true;
    } catch (const Exception& failure) {
        err << options.GaFile << ": " << failure.what() << '\n'
            << options.GaFile << ": " << std::max(test->LastScan, 0)
            << " scans read before the failure\n";
        return false;
    }
}

}  // namespace

int RunAnalyzeCommand(std::span<const std::string_view> arguments,
                      std::ostream& out,
                      std::ostream& err) {
    for (const std::string_view argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            out << Usage;
            return 0;
        }
    }
    AnalyzeOptions options;
    try {
        options = ParseOptions(arguments);
    } catch (const UsageError& error) {
        err << "gatool analyze: " << error.what() << " (see gatool analyze --help)\n";
        return 2;
    }
    return AnalyzeFile(options, out, err) ? 0 : 1;
}

}  // namespace gatool
