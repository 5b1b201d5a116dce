// \brief Formatted input with the C library's rules; see formatted_input.h.
#include "data/formatted_input.h"

#include <locale.h>

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

// The longest prefix of the input that is a prefix of a decimal floating-point number. Returns
// false when that prefix is not a whole number (empty, "-", "1.e", "2e+", ...).
bool ReadFloatItem(InputStream& in, std::string& item) {
    if (in.Peek() == '+' || in.Peek() == '-') {
        item += static_cast<char>(in.Get());
    }
    bool mantissaDigits = false;
    while (IsDigit(in.Peek())) {
        item += static_cast<char>(in.Get());
        mantissaDigits = true;
    }
    if (in.Peek() == '.') {
        item += static_cast<char>(in.Get());
        while (IsDigit(in.Peek())) {
            item += static_cast<char>(in.Get());
            mantissaDigits = true;
        }
    }
    if (!mantissaDigits) {
        return false;
    }
    if (in.Peek() == 'e' || in.Peek() == 'E') {
        item += static_cast<char>(in.Get());
        if (in.Peek() == '+' || in.Peek() == '-') {
            item += static_cast<char>(in.Get());
        }
        bool exponentDigits = false;
        while (IsDigit(in.Peek())) {
            item += static_cast<char>(in.Get());
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

template <typename Float>
bool ConvertFloat(InputStream& in, Float& target) {
    std::string item;
    if (!ReadFloatItem(in, item)) {
        return false;
    }
    Float value;
    if constexpr (std::is_same_v<Float, float>) {
        value = strtof_l(item.c_str(), nullptr, CLocale());
    } else {
        value = strtod_l(item.c_str(), nullptr, CLocale());
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

}  // namespace

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
            SkipWhiteSpace(in);
            if (in.Peek() == InputStream::EndOfFile) {
                inputFailure = true;
                break;
            }
            if (!Convert(in, format.substr(i + 1, length), *target++)) {
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
