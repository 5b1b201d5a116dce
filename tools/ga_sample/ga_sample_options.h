// \brief Command line of ga_sample_generator: --scans, --seed, --gs, --gi, --output and --help.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/exceptions.h"
#include "tools/ga_sample/ga_sample_parameters.h"

namespace gatool {

// A command line that cannot be used; what() is one line naming the option and the bad value.
class OptionError : public Exception {
  public:
    using Exception::Exception;
};

struct GeneratorOptions {
    GaSampleParameters Parameters;
    std::string OutputPath;  // empty: standard output
    bool ShowHelp = false;
};

// The options after the program name; options not given keep the defaults of
// GaSampleParameters. Raises OptionError.
GeneratorOptions ParseGeneratorOptions(const std::vector<std::string_view>& arguments);

// The --help text, defaults included.
std::string GeneratorUsage();

}  // namespace gatool
