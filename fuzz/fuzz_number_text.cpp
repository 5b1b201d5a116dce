// \brief Fuzz target for the number texts. Any pattern, value and text must give a text, a value
// or the EConvertError that the functions name; never a crash, a hang or another exception (those
// escape to the fuzzer). It also checks what must hold for every input: the texts contain only the
// characters they may, and numbers written as text read back within the rounding of their digits.
//
// Input: one byte choosing the marks, one choosing the value's type (extended, double or single,
// its raw bytes, so that NaNs, infinities, denormals and the x87 format's undefined patterns all
// occur), one giving the pattern's length (up to 255, so that over-long patterns occur), then the
// value's bytes, the pattern, and the rest as the text to read.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "base/exceptions.h"
#include "numtext/float_to_general_text.h"
#include "numtext/float_to_pattern_text.h"
#include "numtext/number_marks.h"
#include "numtext/parse_float_text.h"

namespace {

using gatool::EConvertError;
using gatool::Extended;

// Writes an 18-digit mantissa and the exponent with room for the whole extended range.
constexpr std::string_view EighteenDigitPattern = "0.00000000000000000E+0000";

class InputReader {
  public:
    InputReader(const std::uint8_t* data, std::size_t size)
        : m_bytes(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t Byte() { return m_bytes.empty() ? 0 : static_cast<std::uint8_t>(Take(1)[0]); }

    std::string_view Take(std::size_t count) {
        const std::string_view taken = m_bytes.substr(0, count);
        m_bytes.remove_prefix(taken.size());
        return taken;
    }

    std::string_view Rest() { return Take(m_bytes.size()); }

  private:
    std::string_view m_bytes;
};

template <typename Number>
Extended ValueFromBytes(InputReader& input) {
    Number number{};
    const std::string_view bytes = input.Take(sizeof(Number) == 16 ? 10 : sizeof(Number));
    std::memcpy(&number, bytes.data(), bytes.size());
    return number;
}

void Require(bool holds, const char* property, std::string_view detail) {
    if (!holds) {
        std::fprintf(stderr, "property failed: %s [%.*s]\n", property,
                     static_cast<int>(detail.size()), detail.data());
        std::abort();
    }
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
    }
    return pos;
}

// ["-"] digits [DecimalMark digits] ["E" ["-"] digits], or INF, -INF, NAN.
bool IsGeneralText(std::string_view text) {
    if (text == "INF" || text == "-INF" || text == "NAN") {
        return true;
    }
    std::size_t pos = text.starts_with('-') ? 1 : 0;
    std::size_t digitsEnd = SkipDigits(text, pos);
    if (digitsEnd == pos) {
        return false;
    }
    pos = digitsEnd;
    const std::string& mark = gatool::DecimalMark();
    if (text.substr(pos).starts_with(mark)) {
        pos += mark.size();
        digitsEnd = SkipDigits(text, pos);
        if (digitsEnd == pos) {
            return false;
        }
        pos = digitsEnd;
    }
    if (pos < text.size() && text[pos] == 'E') {
        pos += text.substr(pos + 1).starts_with('-') ? 2 : 1;
        digitsEnd = SkipDigits(text, pos);
        if (digitsEnd == pos) {
            return false;
        }
        pos = digitsEnd;
    }
    return pos == text.size();
}

// Every byte of a pattern text comes from the pattern, the digits and signs, the marks or the
// general text's "E", "INF" and "NAN".
bool HasOnlyPatternTextCharacters(std::string_view text, std::string_view pattern) {
    const std::string allowed =
        std::string(pattern) + "0123456789+-EINFA" + gatool::DecimalMark() + gatool::GroupMark();
    return text.find_first_not_of(allowed) == std::string_view::npos;
}

// The x87 format's exponent field and whether its explicit integer bit is set.
struct ExtendedBits {
    unsigned ExponentField;
    bool IntegerBit;
};

ExtendedBits BitsOf(Extended value) {
    unsigned char bytes[sizeof(Extended)];
    std::memcpy(bytes, &value, sizeof bytes);
    return {(bytes[9] & 0x7Fu) << 8 | bytes[8], (bytes[7] & 0x80u) != 0};
}

// Reads `text` back and requires it within `relativeError` of the value.
void RequireReadsBack(const std::string& text, Extended value, Extended relativeError) {
    const Extended read = gatool::ParseFloatText(text);  // any error escapes: a failure
    Require(std::fabs(read - value) <= relativeError * std::fabs(value), "reads back", text);
}

void CheckPatternText(std::string_view pattern, Extended value) {
    try {
        const std::string text = gatool::FloatToPatternText(pattern, value);
        Require(pattern.size() <= gatool::MaxPatternLength, "long pattern rejected", pattern);
        Require(HasOnlyPatternTextCharacters(text, pattern), "pattern text characters", text);
    } catch (const EConvertError& error) {
        Require(pattern.size() > gatool::MaxPatternLength &&
                    std::string_view(error.what()) == "Format string too long",
                "only long patterns rejected", pattern);
    }
}

void CheckGeneralText(Extended value) {
    const std::string text = gatool::FloatToGeneralText(value);
    Require(IsGeneralText(text), "general text grammar", text);
    const ExtendedBits bits = BitsOf(value);
    if (bits.ExponentField == 0) {
        // Zero and the denormals have no digits.
        Require(text == "0", "zero text", text);
        return;
    }
    const bool ordinaryNumber = bits.ExponentField != 0x7FFF && bits.IntegerBit;
    if (!ordinaryNumber) {
        Require(text == "NAN" || (text.ends_with("INF") && std::isinf(value) &&
                                  text.starts_with('-') == std::signbit(value)),
                "special text", text);
        return;
    }
    // 15 significant digits: off by at most half a unit of the 15th digit, plus the rounding to
    // 18 digits on the way.
    RequireReadsBack(text, value, 5.1e-15L);
    // The 18 digits of values next to the largest one lie beyond the extended range.
    if (std::fabs(value) < 1e4932L) {
        RequireReadsBack(gatool::FloatToPatternText(EighteenDigitPattern, value), value, 5.1e-17L);
    }
}

void CheckParse(std::string_view text) {
    try {
        const Extended value = gatool::ParseFloatText(text);
        Require(std::isfinite(value), "finite value", text);
        Require(text.find('\t') == std::string_view::npos, "no tabs", text);
        Require(text.find(gatool::GroupMark()) == std::string_view::npos, "no group mark", text);
    } catch (const EConvertError& error) {
        // what() ends at a NUL byte in the text, so compare as C strings.
        const std::string expected =
            "'" + std::string(text) + "' is not a valid floating point value";
        Require(std::strcmp(error.what(), expected.c_str()) == 0, "error message", error.what());
    }
}

void SetMarks(std::uint8_t choice) {
    switch (choice % 4) {
        case 0:
            gatool::SetNumberMarks(".", ",");
            break;
        case 1:
            gatool::SetNumberMarks(",", ".");
            break;
        case 2:
            gatool::SetNumberMarks(",", "\u202f");
            break;
        default:
            gatool::SetNumberMarks("\u066b", "\u066c");
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputReader input(data, size);
    SetMarks(input.Byte());
    const std::uint8_t valueType = input.Byte() % 3;
    const std::size_t patternLength = input.Byte();
    const Extended value = valueType == 0   ? ValueFromBytes<long double>(input)
                           : valueType == 1 ? ValueFromBytes<double>(input)
                                            : ValueFromBytes<float>(input);
    const std::string_view pattern = input.Take(patternLength);
    const std::string_view text = input.Rest();

    CheckPatternText(pattern, value);
    CheckGeneralText(value);
    CheckParse(text);
    return 0;
}
