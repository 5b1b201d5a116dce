// \brief Fuzz target of the DCF reader: any bytes must fill the table, raise the overflow of a
// number beyond the double range or refuse UTF-16 text, never crash or hang; the count read must
// fit the table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

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
    } catch (const EFileFormatError& refused) {
        if (std::string_view(refused.what()).find("UTF-16") == std::string_view::npos) {
            std::abort();
        }
    }
    return 0;
}
