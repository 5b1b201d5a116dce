// \brief Reading of number text; see parse_float_text.h.
#include "numtext/parse_float_text.h"

#include <locale.h>
#include <stdlib.h>

#include <cerrno>
#include <cmath>
#include <optional>
#include <string>
#include <system_error>

#include "base/exceptions.h"
#include "numtext/number_marks.h"

namespace gatool {

namespace {

constexpr int ExponentReadLimit = 500;

// The C library converts with the "C" locale's point whatever the process locale is.
locale_t CLocale() {
    static const locale_t cLocale = [] {
        const locale_t made = newlocale(LC_ALL_MASK, "C", nullptr);
        if (made == nullptr) {
            throw std::system_error(errno, std::generic_category(), "newlocale");
        }
        return made;
    }();
    return cLocale;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Checks the text against the grammar and rewrites the number in C notation ("-0123.45e-7").
class CNotationWriter {
  public:
    explicit CNotationWriter(std::string_view text) : m_text(text) {}

    std::optional<std::string> Write() {
        SkipSpaces();
        if (At('+') || At('-')) {
            m_number += m_text[m_pos++];
        }
        m_number += '0';  // so that the decimal mark alone reads as zero
        bool hasMantissa = CopyDigits();
        if (m_text.substr(m_pos).starts_with(DecimalMark())) {
            m_pos += DecimalMark().size();
            m_number += '.';
            CopyDigits();
            hasMantissa = true;
        }
        if (!hasMantissa) {
            return std::nullopt;
        }
        const std::string exponent = ReadExponent();
        SkipSpaces();
        if (m_pos != m_text.size()) {
            return std::nullopt;
        }
        return m_number + exponent;
    }

  private:
    bool At(char c) const { return m_pos < m_text.size() && m_text[m_pos] == c; }

    void SkipSpaces() {
        while (At(' ')) {
            ++m_pos;
        }
    }

    bool CopyDigits() {
        const std::size_t begin = m_pos;
        while (m_pos < m_text.size() && IsDigit(m_text[m_pos])) {
            ++m_pos;
        }
        m_number.append(m_text.substr(begin, m_pos - begin));
        return m_pos > begin;
    }

    // "e" and the exponent as far as it is read; digits after the reading stopped are left for
    // the end check, which rejects them.
    std::string ReadExponent() {
        if (!At('E') && !At('e')) {
            return {};
        }
        ++m_pos;
        std::string exponent = "e";
        if (At('+') || At('-')) {
            exponent += m_text[m_pos++];
        }
        int value = 0;
        while (m_pos < m_text.size() && IsDigit(m_text[m_pos]) && value < ExponentReadLimit) {
            value = value * 10 + (m_text[m_pos++] - '0');
        }
        return exponent + std::to_string(value);
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    std::string m_number;
};

[[noreturn]] void RejectText(std::string_view text) {
    throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
}

}  // namespace

Extended ParseFloatText(std::string_view text) {
    const std::optional<std::string> number = CNotationWriter(text).Write();
    if (!number) {
        RejectText(text);
    }
    // strtold rounds the exact decimal value correctly to extended precision; beyond the range it
    // gives an infinity (rejected), below it a denormal or zero (accepted).
    char* end = nullptr;
    const Extended value = strtold_l(number->c_str(), &end, CLocale());
    if (end != number->c_str() + number->size() || !std::isfinite(value)) {
        RejectText(text);
    }
    return value;
}

}  // namespace gatool
