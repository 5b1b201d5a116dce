// \brief GA header reading; see ga_header_reader.h.
#include "data/ga_header_reader.h"

#include "base/exceptions.h"
#include "data/formatted_input.h"
#include "data/test_date.h"

namespace gatool {

std::string ReadTextLine(InputStream& in) {
    const long line = in.Line();
    std::string text;
    long length = 0;
    for (int c = in.Get(); c != InputStream::EndOfFile && c != '\r' && c != '\n'; c = in.Get()) {
        if (text.size() < LineBuffer - 1) {
            text += static_cast<char>(c);
        }
        if (++length > LongestTextLine) {
            throw EFileFormatError("The header's text line (line " + std::to_string(line) +
                                   ") runs on for more than " + std::to_string(LongestTextLine) +
                                   " characters without a line end: this is not a GA file.");
        }
    }
    if (in.Peek() == '\n') {
        in.Get();
    }
    return text;
}

void ReadGaHeader(GaHeader& header, InputStream& in) {
    ScanFormat(in, "Integration time is %lf seconds per sample\r", {&header.IntegrationTime});
    ScanFormat(in, "dt %lf\r", {&header.DeadTime});
    ScanFormat(in, "cy %d\r", {&header.Cy});

    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t year = 0;
    if (ScanFormat(in, "dh%d\r%d\r%d\r", {&day, &month, &year}) == 3) {
        header.TestDate = EncodeTestDate(day, month, year);
    } else {
        header.TestDate.reset();
    }

    header.HeaderText = ReadTextLine(in);
    ScanFormat(in, "\r%lf\r%lf\r%lf\rpr\r%lf",
               {&header.HeaderValue1, &header.HeaderValue2, &header.HeaderValue3, &header.Pr});
}

}  // namespace gatool
