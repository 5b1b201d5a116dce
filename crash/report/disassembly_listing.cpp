// \brief The source-line column and the limit of the disassembly listing.
#include "crash/report/disassembly_listing.h"

#include "crash/report/hex_text.h"

namespace kestrix {

std::vector<std::string> ListingTexts(const std::vector<TDisAsmLine>& lines,
                                      const LineOfAddress& lineOf,
                                      int columnWidth) {
    std::vector<std::string> texts;
    texts.reserve(lines.size());
    std::int32_t currentLine = 0;
    for (const TDisAsmLine& line : lines) {
        std::string text = HexAddress(line.Address);
        if (!line.Spacer) {
            text += ' ';
            if (columnWidth > 0) {
                const std::int32_t sourceLine = lineOf(line.Address);
                if (sourceLine > 0 && sourceLine != currentLine) {
                    currentLine = sourceLine;
                    const std::string number = std::to_string(sourceLine);
                    text.append(number.size() < std::size_t(columnWidth)
                                    ? std::size_t(columnWidth) - number.size()
                                    : 0,
                                '0');
                    text += number + ' ';
                } else {
                    text.append(std::size_t(columnWidth) + 1, ' ');
                }
            }
            text += line.Text;
        }
        texts.push_back(std::move(text));
    }
    return texts;
}

std::vector<std::string> LimitListing(std::vector<std::string> texts,
                                      std::optional<std::size_t> marked,
                                      int limit) {
    if (limit <= 0 || !marked || *marked >= texts.size())
        return texts;
    const auto kept = static_cast<std::size_t>(limit);
    std::vector<std::string> result;
    std::size_t first = 0;
    // A cut that would leave nothing out is not made.
    if (*marked + 1 > kept * 12 / 10 && *marked > kept) {
        first = *marked - kept;
        result.emplace_back(LeftOutText);
    }
    const std::size_t end = std::min(texts.size(), *marked + 1 + kept);
    for (std::size_t i = first; i < end; ++i)
        result.push_back(std::move(texts[i]));
    if (end < texts.size())
        result.emplace_back(LeftOutText);
    return result;
}

}  // namespace kestrix
