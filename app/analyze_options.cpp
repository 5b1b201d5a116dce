// \brief Options of `gatool analyze`; see analyze_options.h.
#include "app/analyze_options.h"

#include <utility>

#include "base/float_faults.h"
#include "numtext/parse_float_text.h"

namespace gatool {

const char* const AnalyzeUsage =
    "Usage: gatool analyze GAFILE... [--dcf DCFFILE] [--fit 5|7] [--slits LIST]\n"
    "                      [--centre-mass] [--manual GS GI] [--json | --csv]\n"
    "\n"
    "Loads each GA file as the window's \"Load GA file\" does: corrects every count for the dark\n"
    "count and dead time, locates the peak of each slit in each scan, derives GS and GI and, with\n"
    "a DCF file, simulates the loss in counts of a CI scan for slits 1 and 5. Prints GS and GI as\n"
    "the GS and GI boxes show them, per scan the midpoint and per slit the peak step, position,\n"
    "height and offset, and the two lists of CI points (wavelength in Angstrom, loss in percent),\n"
    "in aligned columns with the decimals the window shows. Each file is analysed on its own; a\n"
    "file that fails is reported and the others still run.\n"
    "\n"
    "Options (an option's value may also follow \"=\", as in --fit=5):\n"
    "  --dcf DCFFILE   dispersion coefficients, loaded before each GA file (name DCF...)\n"
    "  --fit 5|7       points of the least-squares quadratic around each peak step (default 7)\n"
    "  --slits LIST    the checked slit boxes, e.g. 1,3 (default 1); GS and GI come from the\n"
    "                  highest one; an empty list checks none\n"
    "  --centre-mass   fit GS and GI to the centres of mass (UseCentreMass)\n"
    "  --manual GS GI  take GS and GI as typed into the boxes (ManualGSGI), in the number\n"
    "                  format of your locale\n"
    "  --json          print one JSON object per GA file, one per line, every digit kept\n"
    "  --csv           print one CSV table for all files: a header row, then per file one row\n"
    "                  per scan and slit (kind peak) and one per CI point (kind ci), every digit\n"
    "                  kept\n"
    "  --help          show this text\n"
    "  --              take every argument after it as a GA file\n"
    "\n"
    "Exit status: 0 when every file was analysed, 1 when a file failed or GS and GI could not be\n"
    "fitted to it (no scan, too few scans or no slit checked, without --manual), 2 for a bad\n"
    "command line, found before any file is read.\n";

namespace {

std::array<bool, SlitCount> ParseSlits(std::string_view list) {
    std::array<bool, SlitCount> slits{};
    std::size_t start = 0;
    while (start < list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string_view item = list.substr(start, comma - start);
        if (item.size() != 1 || item[0] < '0' || item[0] >= '0' + SlitCount) {
            throw UsageError("--slits takes slit numbers 0 to 5 separated by commas, not \"" +
                             std::string(list) + "\"");
        }
        slits[static_cast<std::size_t>(item[0] - '0')] = true;
        start = comma + 1;
    }
    return slits;
}

// GS and GI typed with --manual must read as the boxes read them and fit the single precision
// they are kept in, so that a bad value stops the run before any file is read.
void RequireManualValue(const char* name, const std::string& text) {
    try {
        ToSingle(ToDouble(ParseFloatText(text)));
    } catch (const EConvertError& error) {
        throw UsageError(std::string("--manual ") + name + ": " + error.what());
    } catch (const EMathError&) {
        throw UsageError(std::string("--manual ") + name + ": '" + text + "' is out of range");
    }
}

// Hands out the arguments one by one. An option written "--name=value" comes as its name, and
// its value is the first that ValueOf gives; after "--" every argument is a file.
class ArgumentReader {
  public:
    explicit ArgumentReader(std::span<const std::string_view> arguments) : m_arguments(arguments) {}

    bool AtEnd() const { return m_next == m_arguments.size(); }
    bool OptionsEnded() const { return m_optionsEnded; }
    void EndOptions() { m_optionsEnded = true; }

    std::string_view Next() {
        std::string_view argument = m_arguments[m_next++];
        m_attached.reset();
        if (const std::size_t equals = argument.find('=');
            !m_optionsEnded && argument.starts_with("--") && equals != std::string_view::npos) {
            m_attached = argument.substr(equals + 1);
            argument = argument.substr(0, equals);
        }
        return argument;
    }

    std::string_view ValueOf(std::string_view option, const char* what) {
        if (m_attached) {
            return *std::exchange(m_attached, std::nullopt);
        }
        if (AtEnd()) {
            throw UsageError(std::string(option) + " needs " + what);
        }
        return m_arguments[m_next++];
    }

    // For an option without a value: refuses one attached with "=".
    void RequireNoValue(std::string_view option) const {
        if (m_attached) {
            throw UsageError(std::string(option) + " takes no value");
        }
    }

  private:
    std::span<const std::string_view> m_arguments;
    std::size_t m_next = 0;
    std::optional<std::string_view> m_attached;
    bool m_optionsEnded = false;
};

// Reads the option `option`, already taken from the reader, into `options`.
void ReadOption(std::string_view option, ArgumentReader& reader, AnalyzeOptions& options) {
    if (option == "--dcf") {
        options.DcfFile = reader.ValueOf(option, "a DCF file");
        return;
    }
    if (option == "--fit") {
        const std::string_view value = reader.ValueOf(option, "a value: 5 or 7");
        if (value != "5" && value != "7") {
            throw UsageError("--fit takes 5 or 7, not \"" + std::string(value) + "\"");
        }
        options.Window = value == "5" ? FitWindow::FivePoint : FitWindow::SevenPoint;
        return;
    }
    if (option == "--slits") {
        options.Slits = ParseSlits(reader.ValueOf(option, "a list of slits such as 1,3"));
        return;
    }
    if (option == "--manual") {
        options.GsText = reader.ValueOf(option, "two values: GS and GI");
        options.GiText = reader.ValueOf(option, "two values: GS and GI");
        RequireManualValue("GS", options.GsText);
        RequireManualValue("GI", options.GiText);
        options.Manual = true;
        return;
    }
    bool* const flag = option == "--help" || option == "-h" ? &options.Help
                       : option == "--centre-mass"          ? &options.UseCentreMass
                       : option == "--json"                 ? &options.Json
                       : option == "--csv"                  ? &options.Csv
                                                            : nullptr;
    if (flag == nullptr && option != "--") {
        throw UsageError("unknown option \"" + std::string(option) + "\"");
    }
    reader.RequireNoValue(option);
    if (flag != nullptr) {
        *flag = true;
    } else {
        reader.EndOptions();
    }
}

}  // namespace

AnalyzeOptions ParseAnalyzeOptions(std::span<const std::string_view> arguments) {
    AnalyzeOptions options;
    ArgumentReader reader(arguments);
    while (!reader.AtEnd()) {
        const std::string_view argument = reader.Next();
        if (reader.OptionsEnded() || !argument.starts_with('-')) {
            options.GaFiles.emplace_back(argument);
        } else {
            ReadOption(argument, reader, options);
        }
    }
    if (options.Json && options.Csv) {
        throw UsageError("--json and --csv cannot be combined");
    }
    if (options.GaFiles.empty() && !options.Help) {
        throw UsageError("no GA file given");
    }
    return options;
}

}  // namespace gatool
