// \brief General number text; see float_to_general_text.h.
#include "numtext/float_to_general_text.h"

#include <cstdlib>
#include <string_view>

#include "numtext/decimal_expansion.h"
#include "numtext/number_marks.h"

namespace gatool {

namespace {

constexpr int GeneralPrecision = 15;
constexpr int AllDecimals = 9999;

// Scientific form for values of 10^15 or more and below 10^-4: "1.5E-7", "1E15".
void AppendScientific(std::string& text, const DecimalDigits& expansion) {
    const std::string_view digits = expansion.Digits;
    text += digits.empty() ? '0' : digits[0];
    if (digits.size() > 1) {
        text += DecimalMark();
        text += digits.substr(1);
    }
    const int exponent = digits.empty() ? 0 : expansion.Exponent - 1;
    text += 'E';
    if (exponent < 0) {
        text += '-';
    }
    text += std::to_string(std::abs(exponent));
}

void AppendPositional(std::string& text, const DecimalDigits& expansion) {
    const std::string_view digits = expansion.Digits;
    if (expansion.Exponent <= 0) {
        text += '0';
        if (!digits.empty()) {
            text += DecimalMark();
            text.append(static_cast<std::size_t>(-expansion.Exponent), '0');
            text += digits;
        }
        return;
    }
    const auto integerPlaces = static_cast<std::size_t>(expansion.Exponent);
    text += digits.substr(0, integerPlaces);
    if (digits.size() < integerPlaces) {
        text.append(integerPlaces - digits.size(), '0');
    } else if (digits.size() > integerPlaces) {
        text += DecimalMark();
        text += digits.substr(integerPlaces);
    }
}

}  // namespace

std::string FloatToGeneralText(Extended value) {
    const DecimalDigits expansion = DecimalExpansion(value, GeneralPrecision, AllDecimals);
    if (expansion.Exponent == NanExponent) {
        return "NAN";
    }
    if (expansion.Exponent == InfinityExponent) {
        return expansion.Negative ? "-INF" : "INF";
    }
    std::string text = expansion.Negative ? "-" : "";
    if (expansion.Exponent > GeneralPrecision || expansion.Exponent < -3) {
        AppendScientific(text, expansion);
    } else {
        AppendPositional(text, expansion);
    }
    return text;
}

}  // namespace gatool
