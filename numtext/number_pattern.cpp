// \brief Reading of number patterns; see number_pattern.h.
#include "numtext/number_pattern.h"

#include <algorithm>
#include <optional>

namespace gatool {

namespace {

constexpr std::size_t MaxSections = 3;
constexpr int MaxExponentDigits = 4;

bool IsQuote(char c) {
    return c == '\'' || c == '"';
}

bool IsExponentMarkerAt(std::string_view pattern, std::size_t pos) {
    return (pattern[pos] == 'E' || pattern[pos] == 'e') && pos + 1 < pattern.size() &&
           (pattern[pos + 1] == '+' || pattern[pos + 1] == '-');
}

class SectionReader {
  public:
    SectionReader(std::string_view pattern, std::size_t begin) : m_pattern(pattern), m_pos(begin) {}

    // Reads up to the section's ";" or the end of the pattern.
    PatternSection Read() {
        const std::size_t begin = m_pos;
        while (m_pos < m_pattern.size() && m_pattern[m_pos] != ';') {
            ReadToken();
        }
        m_section.Source = m_pattern.substr(begin, m_pos - begin);
        Summarise();
        return m_section;
    }

    // Where the next section starts, if a ";" ended this one.
    std::optional<std::size_t> NextSectionBegin() const {
        if (m_pos < m_pattern.size()) {
            return m_pos + 1;
        }
        return std::nullopt;
    }

  private:
    void ReadToken() {
        const char c = m_pattern[m_pos];
        if (c == '0' || c == '#') {
            ReadPlaceholder(c == '0');
        } else if (c == '.') {
            if (m_pointPosition == NotSeen) {
                m_pointPosition = m_section.PlaceholderCount;
            }
            ++m_pos;
        } else if (c == ',') {
            m_section.Grouping = true;
            ++m_pos;
        } else if (IsQuote(c)) {
            ReadQuotedText(c);
        } else if (IsExponentMarkerAt(m_pattern, m_pos)) {
            ReadExponentMarker();
        } else {
            AddText(m_pattern.substr(m_pos, 1));
            ++m_pos;
        }
    }

    void ReadPlaceholder(bool forcesDigit) {
        if (forcesDigit) {
            if (m_firstForced == NotSeen) {
                m_firstForced = m_section.PlaceholderCount;
            }
            m_lastForced = m_section.PlaceholderCount;
        }
        m_section.Tokens.push_back({PatternTokenKind::DigitPlaceholder, {}, false, 0});
        ++m_section.PlaceholderCount;
        ++m_pos;
    }

    // Quoted text runs to the matching quote, or to the end of the pattern when there is none.
    void ReadQuotedText(char quote) {
        const std::size_t textBegin = m_pos + 1;
        const std::size_t close = std::min(m_pattern.find(quote, textBegin), m_pattern.size());
        AddText(m_pattern.substr(textBegin, close - textBegin));
        m_pos = std::min(close + 1, m_pattern.size());
    }

    // All zeros after the sign belong to the marker; at most four of them count.
    void ReadExponentMarker() {
        PatternToken marker{PatternTokenKind::ExponentMarker, m_pattern.substr(m_pos, 1),
                            m_pattern[m_pos + 1] == '+', 0};
        m_pos += 2;
        while (m_pos < m_pattern.size() && m_pattern[m_pos] == '0') {
            marker.MinExponentDigits = std::min(marker.MinExponentDigits + 1, MaxExponentDigits);
            ++m_pos;
        }
        m_section.Tokens.push_back(marker);
        m_section.Scientific = true;
    }

    void AddText(std::string_view text) {
        m_section.Tokens.push_back({PatternTokenKind::Text, text, false, 0});
    }

    void Summarise() {
        const int point = m_pointPosition == NotSeen ? m_section.PlaceholderCount : m_pointPosition;
        m_section.PointPosition = point;
        if (m_firstForced != NotSeen) {
            m_section.FirstDigit = std::max(point - m_firstForced, 0);
            m_section.LastDigit = std::min(point - (m_lastForced + 1), 0);
        }
    }

    std::string_view m_pattern;
    std::size_t m_pos;
    PatternSection m_section;
    // Placeholder counts where the point and the first and last "0" stood. Plain integers with a
    // mark for "none": GCC's optimiser takes optional integers here for uninitialised.
    static constexpr int NotSeen = -1;
    int m_pointPosition = NotSeen;
    int m_firstForced = NotSeen;
    int m_lastForced = NotSeen;
};

}  // namespace

std::vector<PatternSection> ReadPatternSections(std::string_view pattern) {
    std::vector<PatternSection> sections;
    std::optional<std::size_t> begin = 0;
    while (begin && sections.size() < MaxSections) {
        SectionReader reader(pattern, *begin);
        sections.push_back(reader.Read());
        begin = reader.NextSectionBegin();
    }
    return sections;
}

}  // namespace gatool
