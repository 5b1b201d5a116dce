// \brief Number text by pattern; see float_to_pattern_text.h.
#include "numtext/float_to_pattern_text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

#include "base/exceptions.h"
#include "numtext/decimal_expansion.h"
#include "numtext/float_to_general_text.h"
#include "numtext/number_marks.h"
#include "numtext/number_pattern.h"

namespace gatool {

namespace {

constexpr int FullPrecision = 18;
constexpr int AllDecimals = 9999;

constexpr std::size_t PositiveSection = 0;
constexpr std::size_t NegativeSection = 1;
constexpr std::size_t ZeroSection = 2;

std::size_t SectionForValue(Extended value) {
    if (std::signbit(value)) {
        return NegativeSection;
    }
    return value == 0 ? ZeroSection : PositiveSection;
}

// The wanted section, else the first; none when that is empty too.
std::optional<std::size_t> UsableSection(const std::vector<PatternSection>& sections,
                                         std::size_t wanted) {
    if (wanted < sections.size() && !sections[wanted].Source.empty()) {
        return wanted;
    }
    if (!sections[PositiveSection].Source.empty()) {
        return PositiveSection;
    }
    return std::nullopt;
}

DecimalDigits ExpandForSection(Extended value, const PatternSection& section) {
    if (section.Scientific) {
        return DecimalExpansion(value, section.PlaceholderCount, AllDecimals);
    }
    return DecimalExpansion(value, FullPrecision, section.PlaceholderCount - section.PointPosition);
}

// Walks a section and writes the expansion's digits into its placeholders. Digit places count
// down: place 1 is the units, place 0 the first decimal.
class DigitLayout {
  public:
    DigitLayout(const PatternSection& section, const DecimalDigits& expansion)
        : m_section(section),
          m_expansion(expansion),
          m_place(section.Scientific ? section.PointPosition
                                     : std::max(expansion.Exponent, section.PointPosition)),
          // A positive excess is the count of integer digits beyond the placeholders; a negative
          // one the count of leading placeholders before the first digit's place.
          m_excess(section.Scientific ? 0 : expansion.Exponent - section.PointPosition) {}

    std::string Write(bool withMinusSign) {
        if (withMinusSign) {
            m_text += '-';
        }
        for (const PatternToken& token : m_section.Tokens) {
            switch (token.Kind) {
                case PatternTokenKind::DigitPlaceholder:
                    AtPlaceholder();
                    break;
                case PatternTokenKind::Text:
                    m_text += token.Text;
                    break;
                case PatternTokenKind::ExponentMarker:
                    AtExponentMarker(token);
                    break;
            }
        }
        return m_text;
    }

  private:
    void AtPlaceholder() {
        if (m_excess > 0) {
            // The integer part is wider than the placeholders: the first one takes all the extra
            // digits.
            for (int i = 0; i <= m_excess; ++i) {
                AtDigitPlace();
            }
            m_excess = 0;
        } else if (m_excess < 0) {
            ++m_excess;
            if (m_place <= m_section.FirstDigit) {
                PutDigit('0');
            }
            --m_place;
        } else {
            AtDigitPlace();
        }
    }

    void AtDigitPlace() {
        if (m_nextDigit < m_expansion.Digits.size()) {
            PutDigit(m_expansion.Digits[m_nextDigit++]);
        } else if (m_place > m_section.LastDigit) {
            PutDigit('0');
        }
        --m_place;
    }

    void PutDigit(char digit) {
        if (m_place == 0) {
            m_text += DecimalMark();
        }
        m_text += digit;
        if (m_section.Grouping && m_place > 1 && m_place % 3 == 1) {
            m_text += GroupMark();
        }
    }

    void AtExponentMarker(const PatternToken& marker) {
        const int exponent =
            m_expansion.Digits.empty() ? 0 : m_expansion.Exponent - m_section.PointPosition;
        m_text += marker.Text;
        if (exponent < 0) {
            m_text += '-';
        } else if (marker.ShowsPlusSign) {
            m_text += '+';
        }
        const std::string digits = std::to_string(std::abs(exponent));
        const auto minDigits = static_cast<std::size_t>(marker.MinExponentDigits);
        if (digits.size() < minDigits) {
            m_text.append(minDigits - digits.size(), '0');
        }
        m_text += digits;
    }

    const PatternSection& m_section;
    const DecimalDigits& m_expansion;
    std::string m_text;
    std::size_t m_nextDigit = 0;
    int m_place;
    int m_excess;
};

}  // namespace

std::string FloatToPatternText(std::string_view pattern, Extended value) {
    if (pattern.size() > MaxPatternLength) {
        throw EConvertError("Format string too long");
    }
    const std::vector<PatternSection> sections = ReadPatternSections(pattern);
    std::optional<std::size_t> used = UsableSection(sections, SectionForValue(value));
    if (!used) {
        return FloatToGeneralText(value);
    }
    const PatternSection& chosen = sections[*used];
    const DecimalDigits expansion = ExpandForSection(value, chosen);
    if (expansion.Exponent == InfinityExponent || expansion.Exponent == NanExponent ||
        (!chosen.Scientific && expansion.Exponent > FullPrecision)) {
        return FloatToGeneralText(value);
    }
    if (expansion.Digits.empty()) {
        // Whatever rounds to zero takes the zero section, laid out with the expansion as it is.
        used = UsableSection(sections, ZeroSection);
        if (!used) {
            return FloatToGeneralText(value);
        }
    }
    return DigitLayout(sections[*used], expansion)
        .Write(expansion.Negative && *used == PositiveSection);
}

}  // namespace gatool
