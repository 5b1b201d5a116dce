// \brief Options of `gatool analyze`; see analyze_options.h.
#include "app/analyze_options.h"

namespace gatool {

const char* const AnalyzeUsage =
    "Usage: gatool analyze GAFILE... [--dcf DCFFILE] [--fit 5|7] [--slits LIST]\n"
    "                      [--centre-mass] [--manual GS GI] [--json]\n"
    "\n"
    "Loads each GA file as the window's \"Load GA file\" does: corrects every count for the dark\n"
    "count and dead time, locates the peak of each slit in each scan, derives GS and GI and, with\n"
    "a DCF file, simulates the loss in counts of a CI scan for slits 1 and 5. Prints GS and GI as\n"
    "the GS and GI boxes show them, per scan the midpoint and per slit the peak step, position,\n"
    "height and offset, and the two lists of CI points (wavelength in Angstrom, loss in percent).\n"
    "Each file is analysed on its own; a file that fails is reported and the others still run.\n"
    "\n"
    "Options:\n"
    "  --dcf DCFFILE   dispersion coefficients, loaded before each GA file (name DCF...)\n"
    "  --fit 5|7       points of the least-squares quadratic around each peak step (default 7)\n"
    "  --slits LIST    the checked slit boxes, e.g. 1,3 (default 1); GS and GI come from the\n"
    "                  highest one; an empty list checks none\n"
    "  --centre-mass   fit GS and GI to the centres of mass (UseCentreMass)\n"
    "  --manual GS GI  take GS and GI as typed into the boxes (ManualGSGI), in the number\n"
    "                  format of your locale\n"
    "  --json          print one JSON object per GA file, one per line\n"
    "  --help          show this text\n"
    "\n"
    "Exit status: 0 when every file was analysed, 1 when a file failed, 2 for a bad command "
    "line.\n";

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

class ArgumentReader {
  public:
    explicit ArgumentReader(std::span<const std::string_view> arguments) : m_arguments(arguments) {}

    bool AtEnd() const { return m_next == m_arguments.size(); }
    std::string_view Next() { return m_arguments[m_next++]; }
    std::string_view ValueOf(std::string_view option, const char* what) {
        if (AtEnd()) {
            throw UsageError(std::string(option) + " needs " + what);
        }
        return Next();
    }

  private:
    std::span<const std::string_view> m_arguments;
    std::size_t m_next = 0;
};

}  // namespace

AnalyzeOptions ParseAnalyzeOptions(std::span<const std::string_view> arguments) {
    AnalyzeOptions options;
    ArgumentReader reader(arguments);
    while (!reader.AtEnd()) {
        const std::string_view argument = reader.Next();
        if (argument == "--help" || argument == "-h") {
            options.Help = true;
        } else if (argument == "--dcf") {
            options.DcfFile = reader.ValueOf(argument, "a DCF file");
        } else if (argument == "--fit") {
            const std::string_view value = reader.ValueOf(argument, "a value: 5 or 7");
            if (value != "5" && value != "7") {
                throw UsageError("--fit takes 5 or 7, not \"" + std::string(value) + "\"");
            }
            options.Window = value == "5" ? FitWindow::FivePoint : FitWindow::SevenPoint;
        } else if (argument == "--slits") {
            options.Slits = ParseSlits(reader.ValueOf(argument, "a list of slits such as 1,3"));
        } else if (argument == "--centre-mass") {
            options.UseCentreMass = true;
        } else if (argument == "--manual") {
            options.GsText = reader.ValueOf(argument, "two values: GS and GI");
            options.GiText = reader.ValueOf(argument, "two values: GS and GI");
            options.Manual = true;
        } else if (argument == "--json") {
            options.Json = true;
        } else if (argument.starts_with("-")) {
            throw UsageError("unknown option \"" + std::string(argument) + "\"");
        } else {
            options.GaFiles.emplace_back(argument);
        }
    }
    if (options.GaFiles.empty() && !options.Help) {
        throw UsageError("no GA file given");
    }
    return options;
}

}  // namespace gatool
