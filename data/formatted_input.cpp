// \brief Formatted input with the C library's rules; see formatted_input.h.
#include "data/formatted_input.h"

#include <locale.h>

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

// A stream whose consumed bytes are kept.
class RecordingCursor {
  public:
    explicit RecordingCursor(InputStream& in) : m_in(in) {}

    int Peek() { return m_in.Peek(); }
    int Get() {
        const int c = m_in.Get();
        if (c != InputStream::EndOfFile) {
            m_consumed += static_cast<char>(c);
        }
        return c;
    }
    const std::string& Consumed() const { return m_consumed; }

  private:
    InputStream& m_in;
    std::string m_consumed;
};

// Consumes the longest prefix of the input that is a prefix of a decimal floating-point number.
// Returns false when that prefix is not a whole number (empty, "-", "1.e", "2e+", ...).
template <typename Cursor>
bool ReadFloatItem(Cursor& in) {
    if (in.Peek() == '+' || in.Peek() == '-') {
        in.Get();
    }
    bool mantissaDigits = false;
    while (IsDigit(in.Peek())) {
        in.Get();
        mantissaDigits = true;
    }
    if (in.Peek() == '.') {
        in.Get();
        while (IsDigit(in.Peek())) {
            in.Get();
            mantissaDigits = true;
        }
    }
    if (!mantissaDigits) {
        return false;
    }
    if (in.Peek() == 'e' || in.Peek() == 'E') {
        in.Get();
        if (in.Peek() == '+' || in.Peek() == '-') {
            in.Get();
        }
        bool exponentDigits = false;
        while (IsDigit(in.Peek())) {
            in.Get();
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

// The item's value correctly rounded to the target type. from_chars is exact and fast; it reports
// results beyond the type's range without a value, so those few take the C library's route, which
// gives the denormal or zero of an underflow and the infinity of an overflow.
// The item's value correctly rounded to the target type. from_chars is exact and fast; it reports
// results beyond the type's range without a value, so those few take the C library's route, which
// gives the denormal or zero of an underflow and the infinity of an overflow.
template <typename Float>
Float ToFloat(std::string_view item) {
    Float value{};
    const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), value);
    if (error == std::errc{} && end == item.data() + item.size()) {
        return value;
    }
    const std::string terminated(item);
    if constexpr (std::is_same_v<Float, float>) {
        return strtof_l(terminated.c_str(), nullptr, CLocale());
    } else {
        return strtod_l(terminated.c_str(), nullptr, CLocale());
    }
}

template <typename Float>
bool ConvertFloat(InputStream& in, Float& target) {
    // Most numbers lie wholly in the stream's buffer and are read in place; one that runs up to
    // the buffer's end is read again byte by byte, across the next read from the file.
    BufferCursor buffered(in.Buffered());
    bool complete = ReadFloatItem(buffered);
    std::string_view item = buffered.Consumed();
    RecordingCursor recording(in);
    if (buffered.ReachedEnd()) {
        complete = ReadFloatItem(recording);
        item = recording.Consumed();
    } else {
        in.Skip(item.size());
    }
    if (!complete) {
        return false;
    }
    const Float value = ToFloat<Float>(item);
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
