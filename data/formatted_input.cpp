// \brief Formatted input with the C library's rules; see formatted_input.h.
#include "data/formatted_input.h"

#include <locale.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "base/exceptions.h"

namespace gatool {

namespace {

bool IsSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

void SkipWhiteSpace(InputStream& in) {
    while (IsSpace(in.Peek())) {
        in.Get();
    }
}

// Bytes already in memory, read like a stream that ends where they end.
class BufferCursor {
  public:
    explicit BufferCursor(std::string_view bytes) : m_bytes(bytes) {}

    int Peek() {
        if (m_position == m_bytes.size()) {
            m_reachedEnd = true;
            return InputStream::EndOfFile;
        }
        return static_cast<unsigned char>(m_bytes[m_position]);
    }
    int Get() {
        const int c = Peek();
        m_position += c == InputStream::EndOfFile ? 0 : 1;
        return c;
    }
    std::string_view Consumed() const { return m_bytes.substr(0, m_position); }
    // Whether the end of the bytes was looked at: more input could have changed the result.
    bool ReachedEnd() const { return m_reachedEnd; }

  private:
    std::string_view m_bytes;
    std::size_t m_position = 0;
    bool m_reachedEnd = false;
};

// Takes no note of a number's characters: the reading of a number that lies wholly in the buffer,
// which is then converted in place.
struct IgnoredDigits {
    void Sign(int) {}
    void IntegerDigit(int) {}
    void FractionDigit(int) {}
    void ExponentSign(int) {}
    void ExponentDigit(int) {}
};

// A decimal number of any length in bounded memory: its first SignificantDigits significant digits,
// whether a digit that is not zero followed them, and the power of ten. Those digits decide the
// correctly rounded single or double: a halfway case of a double needs at most 767 of them, and the
// digit 1 that stands for the dropped ones keeps a value from looking exactly halfway.
class BoundedDecimal {
  public:
    void Sign(int c) { m_negative = c == '-'; }
    void IntegerDigit(int c) {
        if (!m_digits.empty() || c != '0') {
            ++m_pointShift;
            Keep(c);
        }
    }
    void FractionDigit(int c) {
        if (m_digits.empty() && c == '0') {
            --m_pointShift;
        } else {
            Keep(c);
        }
    }
    void ExponentSign(int c) { m_negativeExponent = c == '-'; }
    void ExponentDigit(int c) { m_exponent = std::min(m_exponent * 10 + (c - '0'), ExponentLimit); }

    // The number as "0.DIGITSe<power>", short enough for any conversion routine.
    std::string Text() const {
        std::string text = m_negative ? "-0." : "0.";
        if (m_digits.empty()) {
            return text + '0';
        }
        text += m_digits;
        if (m_droppedNonZero) {
            text += '1';
        }
        const std::int64_t power = (m_negativeExponent ? -m_exponent : m_exponent) + m_pointShift;
        return text + 'e' + std::to_string(std::clamp(power, -ExponentLimit, ExponentLimit));
    }

  private:
    static constexpr std::size_t SignificantDigits = 800;
    // Far beyond the range of a double, whatever the digits; keeps the sums below from overflowing.
    static constexpr std::int64_t ExponentLimit = 1'000'000'000;

    void Keep(int c) {
        if (m_digits.size() < SignificantDigits) {
            m_digits += static_cast<char>(c);
        } else if (c != '0') {
            m_droppedNonZero = true;
        }
    }

    bool m_negative = false;
    std::string m_digits;  // significant digits, from the first that is not zero
    bool m_droppedNonZero = false;
    std::int64_t m_pointShift = 0;  // digits from the first significant one to the decimal point
    bool m_negativeExponent = false;
    std::int64_t m_exponent = 0;
};

// Consumes the longest prefix of the input that is a prefix of a decimal floating-point number,
// handing its characters to `number`. Returns false when that prefix is not a whole number (empty,
// "-", "1.e", "2e+", ...).
template <typename Cursor, typename Number>
bool ReadFloatItem(Cursor& in, Number& number) {
    if (in.Peek() == '+' || in.Peek() == '-') {
        number.Sign(in.Get());
    }
    bool mantissaDigits = false;
    while (IsDigit(in.Peek())) {
        number.IntegerDigit(in.Get());
        mantissaDigits = true;
    }
    if (in.Peek() == '.') {
        in.Get();
        while (IsDigit(in.Peek())) {
            number.FractionDigit(in.Get());
            mantissaDigits = true;
        }
    }
    if (!mantissaDigits) {
        return false;
    }
    if (in.Peek() == 'e' || in.Peek() == 'E') {
        in.Get();
        if (in.Peek() == '+' || in.Peek() == '-') {
            number.ExponentSign(in.Get());
        }
        bool exponentDigits = false;
        while (IsDigit(in.Peek())) {
            number.ExponentDigit(in.Get());
            exponentDigits = true;
        }
        return exponentDigits;
    }
    return true;
}

locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return locale;
}

// The text's value correctly rounded to the target type. from_chars is exact and fast; it reports
// results beyond the type's range without a value, so those few take the C library's route, which
// gives the denormal or zero of an underflow and the infinity of an overflow.
template <typename Float>
Float ToFloat(std::string_view text) {
    Float value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc{} && end == text.data() + text.size()) {
        return value;
    }
    const std::string terminated(text);
    if constexpr (std::is_same_v<Float, float>) {
        return strtof_l(terminated.c_str(), nullptr, CLocale());
    } else {
        return strtod_l(terminated.c_str(), nullptr, CLocale());
    }
}

// Longest number converted as it stands in the buffer; a longer one, rare in a file, goes through
// BoundedDecimal, whose text no conversion routine needs to copy at length.
constexpr std::size_t LongestNumberInPlace = 64;

template <typename Float>
bool ConvertFloat(InputStream& in, Float& target) {
    // Most numbers lie wholly in the stream's buffer and are read in place; one that runs up to
    // the buffer's end is read again from the stream, across the next read from the file.
    BufferCursor buffered(in.Buffered());
    IgnoredDigits ignored;
    bool complete = ReadFloatItem(buffered, ignored);
    Float value{};
    if (!buffered.ReachedEnd() && buffered.Consumed().size() <= LongestNumberInPlace) {
        in.Skip(buffered.Consumed().size());
        if (!complete) {
            return false;
        }
        value = ToFloat<Float>(buffered.Consumed());
    } else {
        BoundedDecimal number;
        complete = ReadFloatItem(in, number);
        if (!complete) {
            return false;
        }
        value = ToFloat<Float>(number.Text());
    }
    if (std::isinf(value)) {
        throw EOverflow();
    }
    target = value;
    return true;
}

bool ConvertInt(InputStream& in, std::int32_t& target) {
    bool negative = false;
    if (in.Peek() == '+' || in.Peek() == '-') {
        negative = in.Get() == '-';
    }
    bool digits = false;
    bool inRange = true;
    std::int64_t magnitude = 0;
    constexpr std::int64_t Limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    while (IsDigit(in.Peek())) {
        digits = true;
        magnitude = magnitude * 10 + (in.Get() - '0');
        if (magnitude > Limit) {
            inRange = false;
            magnitude = Limit + 1;  // keep consuming digits without overflowing
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (!digits || !inRange || value > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    target = static_cast<std::int32_t>(value);
    return true;
}

// One conversion into the given target; the conversion letters must fit the target's type.
bool Convert(InputStream& in, std::string_view conversion, const ScanTarget& target) {
    if (conversion == "lf" && std::holds_alternative<double*>(target)) {
        return ConvertFloat(in, *std::get<double*>(target));
    }
    if (conversion == "f" && std::holds_alternative<float*>(target)) {
        return ConvertFloat(in, *std::get<float*>(target));
    }
    if (conversion == "d" && std::holds_alternative<std::int32_t*>(target)) {
        return ConvertInt(in, *std::get<std::int32_t*>(target));
    }
    throw std::logic_error("ScanFormat: conversion does not fit its target");
}

enum class Conversion { Converted, Mismatch, EndOfInput };

// A conversion directive: white space is skipped first, and the input's end there is an input
// failure rather than a mismatch.
template <typename Convert>
Conversion SkipSpaceAndConvert(InputStream& in, Convert convert) {
    SkipWhiteSpace(in);
    if (in.Peek() == InputStream::EndOfFile) {
        return Conversion::EndOfInput;
    }
    return convert() ? Conversion::Converted : Conversion::Mismatch;
}

}  // namespace

int ScanSingle(InputStream& in, float& target) {
    switch (SkipSpaceAndConvert(in, [&] { return ConvertFloat(in, target); })) {
        case Conversion::Converted:
            return 1;
        case Conversion::Mismatch:
            return 0;
        case Conversion::EndOfInput:
            break;
    }
    return ScanEndOfInput;
}

int ScanFormat(InputStream& in,
               std::string_view format,
               std::initializer_list<ScanTarget> targets) {
    auto target = targets.begin();
    int converted = 0;
    bool inputFailure = false;  // the input ended where a directive needed a character
    std::size_t i = 0;
    while (i < format.size()) {
        const char directive = format[i];
        if (IsSpace(directive)) {
            SkipWhiteSpace(in);
            ++i;
        } else if (directive == '%') {
            const std::size_t length = format.compare(i + 1, 2, "lf") == 0 ? 2 : 1;
            if (target == targets.end()) {
                throw std::logic_error("ScanFormat: more conversions than targets");
            }
            const std::string_view conversion = format.substr(i + 1, length);
            const ScanTarget& into = *target++;
            const Conversion result =
                SkipSpaceAndConvert(in, [&] { return Convert(in, conversion, into); });
            if (result != Conversion::Converted) {
                inputFailure = result == Conversion::EndOfInput;
                break;
            }
            ++converted;
            i += 1 + length;
        } else {
            if (in.Peek() != static_cast<unsigned char>(directive)) {
                inputFailure = in.Peek() == InputStream::EndOfFile;
                break;
            }
            in.Get();
            ++i;
        }
    }
    return converted == 0 && inputFailure ? ScanEndOfInput : converted;
}

}  // namespace gatool
