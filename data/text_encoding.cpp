// \brief Encoding at the start of an input file; see text_encoding.h.
#include "data/text_encoding.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "base/exceptions.h"

namespace gatool {

namespace {

// Characters looked at to tell UTF-16 without a byte-order mark; a file stream's first chunk holds
// them.
constexpr std::size_t ProbedCharacters = InputStream::MinimumChunkSize / 2;

// Whether the first characters of `head`, two bytes each, all hold one byte that is not zero and a
// zero byte at the given place (1 for little-endian text, 0 for big-endian).
bool LooksLikeUtf16(std::string_view head, std::size_t zeroPlace) {
    const std::size_t characters = std::min(head.size() / 2, ProbedCharacters);
    if (characters == 0) {
        return false;
    }
    for (std::size_t k = 0; k < characters; ++k) {
        if (head[2 * k + zeroPlace] != '\0' || head[2 * k + 1 - zeroPlace] == '\0') {
            return false;
        }
    }
    return true;
}

[[noreturn]] void ThrowUtf16(const char* byteOrder) {
    throw EFileFormatError(std::string("The file is UTF-16 text (") + byteOrder +
                           "); it must be plain ASCII or UTF-8 text.");
}

}  // namespace

void SkipByteOrderMark(InputStream& in) {
    in.Peek();  // fills the buffer of a file stream
    const std::string_view head = in.Buffered();
    if (head.starts_with("\xEF\xBB\xBF")) {
        in.Skip(3);
    } else if (head.starts_with("\xFF\xFE") || LooksLikeUtf16(head, 1)) {
        ThrowUtf16("little-endian");
    } else if (head.starts_with("\xFE\xFF") || LooksLikeUtf16(head, 0)) {
        ThrowUtf16("big-endian");
    }
}

}  // namespace gatool
