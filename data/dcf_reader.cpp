// \brief DCF file reading; see dcf_reader.h.
#include "data/dcf_reader.h"

#include "data/formatted_input.h"
#include "data/text_encoding.h"

namespace gatool {

int ReadDcfFile(DispersionCoefficients& table, InputStream& in) {
    SkipByteOrderMark(in);
    int read = 0;
    // Row 0, for slit 0, comes last in the file.
    for (const std::size_t row : {1, 2, 3, 4, 5, 0}) {
        for (double& coefficient : table[row]) {
            if (ScanFormat(in, "%lf", {&coefficient}) != 1) {
                return read;  // every later read would stop at the same character
            }
            ++read;
        }
    }
    return read;
}

}  // namespace gatool
