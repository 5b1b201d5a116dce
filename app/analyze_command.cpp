// \brief `gatool analyze`; see analyze_command.h.
#include "app/analyze_command.h"

#include <exception>
#include <new>
#include <optional>
#include <string>

#include "app/analysis_report.h"
#include "app/analyze_options.h"
#include "app/csv_report.h"
#include "app/failure_place.h"
#include "app/load_flows.h"
#include "app/load_notes.h"

namespace gatool {

namespace {

// The window's controls as the options set them.
ToolState StateFor(const AnalyzeOptions& options) {
    ToolState state;
    state.Window = options.Window;
    state.Controls.SlitChecked = options.Slits;
    state.Controls.UseCentreMass = options.UseCentreMass;
    state.Controls.ManualGSGI = options.Manual;
    state.Controls.GsText = options.GsText;
    state.Controls.GiText = options.GiText;
    return state;
}

void RequireNamePrefix(const std::string& file, std::string_view prefix) {
    if (!HasNamePrefix(file, prefix)) {
        throw Exception("The name of the file must start with " + std::string(prefix) + "!");
    }
}

// The message of any failure: the tool's own errors and the standard library's, such as running
// out of memory, are reported alike.
std::string FailureMessage(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return "Out of memory";
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "Unknown failure";
    }
}

// Loads the DCF file into `state`; returns how many of its 18 numbers were read.
int LoadDcf(ToolState& state, const std::string& file) {
    RequireNamePrefix(file, "DCF");
    InputStream in = InputStream::FromFile(file);
    ComputedRefreshes refreshes(state);
    return LoadDcfFile(state, in, refreshes);
}

// Checks the DCF file once before the GA files, so that a bad one stops the run early.
bool CheckDcf(const AnalyzeOptions& options, std::ostream& err) {
    if (!options.DcfFile) {
        return true;
    }
    ToolState scratch;
    try {
        const int read = LoadDcf(scratch, *options.DcfFile);
        if (read < 18) {
            err << *options.DcfFile << ": note: " << ShortDcfNote(read) << '\n';
        }
        return true;
    } catch (...) {
        err << *options.DcfFile << ": " << FailureMessage(std::current_exception()) << '\n';
        if (scratch.Place.Stage != LoadStage::None) {
            err << *options.DcfFile << ": " << DescribeFailurePlace(scratch.Place, options.DcfFile)
                << '\n';
        }
        return false;
    }
}

// Runs the DCF load and the GA load for one file on a fresh state; returns false when it failed
// or GS and GI could not be fitted.
bool AnalyzeFile(const AnalyzeOptions& options,
                 const std::string& file,
                 std::ostream& out,
                 std::ostream& err) {
    ToolState state = StateFor(options);
    FileAnalysis analysis{file, state, {}, std::nullopt, options.DcfFile};
    try {
        if (options.DcfFile) {
            analysis.DcfNumbersRead = LoadDcf(state, *options.DcfFile);
        }
        RequireNamePrefix(file, "GA");
        InputStream in = InputStream::FromFile(file);
        ComputedRefreshes refreshes(state);
        LoadGaFile(state, in, refreshes, analysis.Outcome);
    } catch (...) {
        analysis.Failure = FailureMessage(std::current_exception());
    }
    if (options.Json) {
        PrintJsonReport(analysis, out);
    } else if (options.Csv) {
        PrintCsvReport(analysis, out, err);
    } else {
        PrintTextReport(analysis, out, err);
    }
    return !analysis.Failure && !NoFitFailure(analysis);
}

}  // namespace

int RunAnalyzeCommand(std::span<const std::string_view> arguments,
                      std::ostream& out,
                      std::ostream& err) {
    AnalyzeOptions options;
    try {
        options = ParseAnalyzeOptions(arguments);
    } catch (const UsageError& error) {
        err << "gatool analyze: " << error.what() << " (see gatool analyze --help)\n";
        return 2;
    }
    if (options.Help) {
        out << AnalyzeUsage;
        return 0;
    }
    if (!CheckDcf(options, err)) {
        return 1;
    }
    if (options.Csv) {
        PrintCsvHeader(out);
    }
    bool allAnalysed = true;
    for (const std::string& file : options.GaFiles) {
        allAnalysed = AnalyzeFile(options, file, out, err) && allAnalysed;
    }
    return allAnalysed ? 0 : 1;
}

}  // namespace gatool
