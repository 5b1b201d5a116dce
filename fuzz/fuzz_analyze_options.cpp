// \brief Fuzz target of the command line of `gatool analyze`: the input, split at NUL bytes, is
// the argument list. Parsing must give options or a usage error; options that parse must give GS
// and GI without an error, since a bad typed value is refused by the parsing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/gs_gi.h"
#include "app/analyze_options.h"

namespace {

using namespace gatool;

// A test of four scans with peaks in every slit, so that the manual path and the fit both run.
std::unique_ptr<GaTest> SmallTest() {
    auto test = std::make_unique<GaTest>();
    for (std::size_t k = 0; k < 4; ++k) {
        test->Scans[k].MidPos = static_cast<float>(100 * (k + 1));
        for (std::size_t s = 0; s < SlitCount; ++s) {
            test->Scans[k].PeakPos[s] = static_cast<float>(100 * (k + 1) + k * s);
        }
    }
    test->LastScan = 3;
    return test;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> arguments;
    std::size_t start = 0;
    while (start <= input.size()) {
        const std::size_t end = std::min(input.find('\0', start), input.size());
        arguments.emplace_back(input.data() + start, end - start);
        start = end + 1;
    }
    AnalyzeOptions options;
    try {
        options = ParseAnalyzeOptions(arguments);
    } catch (const UsageError&) {
        return 0;
    }
    if (options.GaFiles.empty() && !options.Help) {
        std::abort();
    }
    GsGiInputs inputs;
    inputs.SlitChecked = options.Slits;
    inputs.UseCentreMass = options.UseCentreMass;
    inputs.ManualGSGI = options.Manual;
    inputs.GsText = options.GsText;
    inputs.GiText = options.GiText;
    auto test = SmallTest();
    try {
        DeriveGsGi(*test, inputs);
    } catch (const Exception&) {
        std::abort();
    }
    return 0;
}
