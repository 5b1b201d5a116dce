// \brief Exact decimal values by big-integer arithmetic; see exact_decimal.h.
#include "exact_decimal.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace gatool {

namespace {

// A non-negative integer in base 10^9, least significant limb first.
class BigDecimalInteger {
  public:
    explicit BigDecimalInteger(std::uint64_t value) {
        do {
            m_limbs.push_back(static_cast<std::uint32_t>(value % LimbBase));
            value /= LimbBase;
        } while (value != 0);
    }

    // Multiplies by base^count in steps whose factor fits 32 bits.
    void MultiplyByPower(std::uint32_t base, int count) {
        while (count > 0) {
            std::uint64_t factor = 1;
            while (count > 0 && factor * base <= UINT32_MAX) {
                factor *= base;
                --count;
            }
            MultiplyBy(factor);
        }
    }

    std::string ToString() const {
        std::string text = std::to_string(m_limbs.back());
        for (auto limb = m_limbs.rbegin() + 1; limb != m_limbs.rend(); ++limb) {
            char group[16];
            std::snprintf(group, sizeof group, "%09u", static_cast<unsigned>(*limb));
            text += group;
        }
        return text;
    }

  private:
    static constexpr std::uint64_t LimbBase = 1'000'000'000;

    void MultiplyBy(std::uint64_t factor) {
        std::uint64_t carry = 0;
        for (std::uint32_t& limb : m_limbs) {
            const std::uint64_t product = limb * factor + carry;
            limb = static_cast<std::uint32_t>(product % LimbBase);
            carry = product / LimbBase;
        }
        while (carry != 0) {
            m_limbs.push_back(static_cast<std::uint32_t>(carry % LimbBase));
            carry /= LimbBase;
        }
    }

    std::vector<std::uint32_t> m_limbs;
};

void DropTrailingZeros(std::string& digits) {
    digits.erase(digits.find_last_not_of('0') + 1);
}

}  // namespace

ExactDecimal ExactDecimalOf(Extended value) {
    // |value| = significand x 2^binaryExponent with a 64-bit integer significand.
    int frexpExponent = 0;
    const Extended fraction = std::frexp(std::fabs(value), &frexpExponent);
    const auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    const int binaryExponent = frexpExponent - 64;

    BigDecimalInteger integer(significand);
    ExactDecimal exact;
    if (binaryExponent >= 0) {
        integer.MultiplyByPower(2, binaryExponent);
        exact.Digits = integer.ToString();
        exact.Exponent = static_cast<int>(exact.Digits.size());
    } else {
        // significand / 2^n = significand x 5^n / 10^n
        integer.MultiplyByPower(5, -binaryExponent);
        exact.Digits = integer.ToString();
        exact.Exponent = static_cast<int>(exact.Digits.size()) + binaryExponent;
    }
    DropTrailingZeros(exact.Digits);
    return exact;
}

ExactDecimal RoundedToSignificantDigits(ExactDecimal exact, std::size_t significant) {
    if (exact.Digits.size() <= significant) {
        return exact;
    }
    const std::string rest = exact.Digits.substr(significant);
    exact.Digits.resize(significant);
    const bool aboveHalf =
        rest[0] > '5' || (rest[0] == '5' && rest.find_first_not_of('0', 1) != std::string::npos);
    const bool tie = rest[0] == '5' && !aboveHalf;
    const bool lastDigitOdd = (exact.Digits.back() - '0') % 2 == 1;
    if (aboveHalf || (tie && lastDigitOdd)) {
        // The nines that carry become trailing zeros, dropped below.
        std::size_t pos = significant;
        while (pos > 0 && exact.Digits[pos - 1] == '9') {
            --pos;
        }
        exact.Digits.resize(pos);
        if (exact.Digits.empty()) {
            exact.Digits.push_back('1');
            ++exact.Exponent;
        } else {
            ++exact.Digits.back();
        }
    }
    DropTrailingZeros(exact.Digits);
    return exact;
}

}  // namespace gatool
