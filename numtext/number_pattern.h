// \brief The reading of number patterns such as "#,##0.00;(#,##0.00);zero" into their sections.
#pragma once

#include <string_view>
#include <vector>

namespace gatool {

enum class PatternTokenKind {
    DigitPlaceholder,  // "0" (forces a digit) or "#" (shows a significant digit)
    Text,              // output as it stands; quoted text without its quotes
    ExponentMarker,    // "E+", "E-", "e+" or "e-" with the zeros after the sign
};

struct PatternToken {
    PatternTokenKind Kind = PatternTokenKind::Text;
    std::string_view Text;       // Text: the text to output; ExponentMarker: "E" or "e"
    bool ShowsPlusSign = false;  // ExponentMarker: "+" before a non-negative exponent
    int MinExponentDigits = 0;   // ExponentMarker: the zeros after the sign, at most 4
};

// One section of a pattern and what its scan found. Placeholders are counted from 0.
struct PatternSection {
    std::string_view Source;  // the section's characters, without its ";"
    std::vector<PatternToken> Tokens;
    int PlaceholderCount = 0;
    int PointPosition = 0;  // placeholders before the first "."; all of them without a "."
    int FirstDigit = 0;     // how many integer places a "0" forces
    int LastDigit = 0;      // minus how many decimal places a "0" forces
    bool Scientific = false;
    bool Grouping = false;  // a "," anywhere (outside quotes)
};

// The pattern's sections, at most three, split at ";" outside quotes; text after a third ";" is
// never used. An empty pattern has one empty section.
std::vector<PatternSection> ReadPatternSections(std::string_view pattern);

}  // namespace gatool
