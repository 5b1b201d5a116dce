// \brief Fuzz target of the DCF reader: any bytes must fill the table or raise the overflow of a
// number beyond the double range, never crash or hang; the count read must fit the table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/exceptions.h"
#include "data/dcf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace gatool;
    DispersionCoefficients table{};
    InputStream in =
        InputStream::FromMemory(std::string(reinterpret_cast<const char*>(data), size));
    try {
        const int read = ReadDcfFile(table, in);
        if (read < 0 || read > 18) {
            std::abort();
        }
    } catch (const EOverflow&) {
    }
    return 0;
}
