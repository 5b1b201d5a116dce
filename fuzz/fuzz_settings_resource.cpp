// \brief Fuzz target of the settings and form resource reader: any bytes must give objects and at
// most one error, never a crash, a hang or a read beyond the input; what was read must write back
// and read again to the same objects.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <stdexcept>

#include "crash/settings/form_stream_reader.h"
#include "crash/settings/form_stream_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrix;
    const FormStreamReadResult read = ReadFormStream(std::span(data, size));
    if (read.Error && read.Error->Offset > size) {
        std::abort();
    }
    if (read.Error) {
        InvalidResourceMessage("settings", *read.Error);
        return 0;
    }
    try {
        const FormStreamReadResult again = ReadFormStream(WriteFormStream(read.Root));
        if (again.Error || !(again.Root == read.Root)) {
            std::abort();
        }
    } catch (const std::invalid_argument&) {
        // Names the writer refuses (empty class names of nested objects cannot occur; overlong
        // names after Windows-1252 decoding can).
    }
    return 0;
}
