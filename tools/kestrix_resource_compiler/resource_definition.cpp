// \brief Tokenizer and parser of resource definitions.
#include "resource_definition.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <limits>
#include <vector>

#include "crash/settings/form_stream_format.h"

namespace kestrix {
namespace {

enum class TokenKind { Word, Integer, String, Colon, Equals, End };

struct Token {
    TokenKind Kind = TokenKind::End;
    std::string Text;
    std::int32_t Integer = 0;
    int Line = 0;
};

class DefinitionTokenizer {
  public:
    DefinitionTokenizer(std::string_view text, std::string_view sourceName)
        : m_text(text), m_sourceName(sourceName) {}

    [[noreturn]] void Fail(int line, const std::string& message) const {
        throw DefinitionError(std::string(m_sourceName) + ":" + std::to_string(line) + ": " +
                              message);
    }

    Token Next() {
        SkipBlanksAndComments();
        Token token;
        token.Line = m_line;
        if (m_pos == m_text.size()) {
            return token;
        }
        const char c = m_text[m_pos];
        if (c == ':' || c == '=') {
            ++m_pos;
            token.Kind = c == ':' ? TokenKind::Colon : TokenKind::Equals;
            token.Text = std::string(1, c);
        } else if (c == '"') {
            token.Kind = TokenKind::String;
            token.Text = QuotedString();
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+') {
            token.Kind = TokenKind::Integer;
            token.Integer = IntegerLiteral(token.Text);
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            token.Kind = TokenKind::Word;
            while (m_pos < m_text.size() &&
                   (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) ||
                    m_text[m_pos] == '_' || m_text[m_pos] == '.')) {
                token.Text += m_text[m_pos++];
            }
        } else {
            Fail(m_line, "unexpected character '" + std::string(1, c) + "'");
        }
        return token;
    }

  private:
    void SkipBlanksAndComments() {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == '#') {
                while (m_pos < m_text.size() && m_text[m_pos] != '\n') {
                    ++m_pos;
                }
            } else if (c == '\n') {
                ++m_line;
                ++m_pos;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++m_pos;
            } else {
                return;
            }
        }
    }

    std::string QuotedString() {
        std::string value;
        ++m_pos;
        while (true) {
            if (m_pos == m_text.size() || m_text[m_pos] == '\n') {
                Fail(m_line, "string not closed before the end of the line");
            }
            const char c = m_text[m_pos++];
            if (c == '"') {
                return value;
            }
            if (c != '\\') {
                value += c;
                continue;
            }
            const char escaped = m_pos < m_text.size() ? m_text[m_pos++] : '\0';
            switch (escaped) {
                case '"':
                case '\\':
                    value += escaped;
                    break;
                case 'n':
                    value += '\n';
                    break;
                case 'r':
                    value += '\r';
                    break;
                case 't':
                    value += '\t';
                    break;
                default:
                    Fail(m_line, "unknown escape '\\" + std::string(1, escaped) + "' in a string");
            }
        }
    }

    std::int32_t IntegerLiteral(std::string& text) {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) ||
                                         m_text[m_pos] == '-' || m_text[m_pos] == '+')) {
            ++m_pos;
        }
        text = std::string(m_text.substr(start, m_pos - start));
        std::string_view digits = text;
        const bool negative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
            digits.remove_prefix(1);
        }
        int base = 10;
        if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
            digits.remove_prefix(2);
            base = 16;
        }
        std::int64_t magnitude = 0;
        const auto result =
            std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
        const std::int64_t value = negative ? -magnitude : magnitude;
        if (digits.empty() || result.ec != std::errc() ||
            result.ptr != digits.data() + digits.size() ||
            value < std::numeric_limits<std::int32_t>::min() ||
            value > std::numeric_limits<std::int32_t>::max()) {
            Fail(m_line, "\"" + text + "\" is not a 32-bit integer");
        }
        return static_cast<std::int32_t>(value);
    }

    std::string_view m_text;
    std::string_view m_sourceName;
    std::size_t m_pos = 0;
    int m_line = 1;
};

class DefinitionParser {
  public:
    DefinitionParser(std::string_view text, std::string_view sourceName)
        : m_tokens(text, sourceName) {
        Advance();
    }

    ResourceDefinition Parse() {
        ResourceDefinition definition;
        ExpectWord("resource");
        definition.ResourceName = Expect(TokenKind::Word, "a resource name").Text;
        ExpectWord("object");
        definition.Root = Object(0);
        if (m_current.Kind != TokenKind::End) {
            m_tokens.Fail(m_current.Line,
                          "text after the end of the object: \"" + m_current.Text + "\"");
        }
        return definition;
    }

  private:
    void Advance() { m_current = m_tokens.Next(); }

    Token Expect(TokenKind kind, const std::string& what) {
        if (m_current.Kind != kind) {
            m_tokens.Fail(m_current.Line, "expected " + what + Found());
        }
        Token token = m_current;
        Advance();
        return token;
    }

    void ExpectWord(std::string_view word) {
        if (m_current.Kind != TokenKind::Word || m_current.Text != word) {
            m_tokens.Fail(m_current.Line, "expected \"" + std::string(word) + "\"" + Found());
        }
        Advance();
    }

    std::string Found() const {
        return m_current.Kind == TokenKind::End ? ", found the end of the text"
                                                : ", found \"" + m_current.Text + "\"";
    }

    // After "object": "Name: Class", properties and nested objects, then "end".
    FormObject Object(int depth) {
        if (depth > MaxFormNesting) {
            m_tokens.Fail(m_current.Line,
                          "objects nested deeper than " + std::to_string(MaxFormNesting));
        }
        FormObject object;
        object.Name = Expect(TokenKind::Word, "an object name").Text;
        Expect(TokenKind::Colon, "\":\" after the object name");
        object.ClassName = Expect(TokenKind::Word, "a class name").Text;
        while (!(m_current.Kind == TokenKind::Word && m_current.Text == "end")) {
            if (m_current.Kind == TokenKind::Word && m_current.Text == "object") {
                Advance();
                object.Children.push_back(Object(depth + 1));
            } else {
                object.Properties.push_back(Property());
            }
        }
        Advance();
        return object;
    }

    PropertyRecord Property() {
        const Token name = Expect(TokenKind::Word, "a property name, \"object\" or \"end\"");
        Expect(TokenKind::Equals, "\"=\" after " + name.Text);
        const Token value = m_current;
        if (value.Kind == TokenKind::Integer) {
            Advance();
            return PropertyRecord::Integer(name.Text, value.Integer);
        }
        if (value.Kind == TokenKind::Word && (value.Text == "true" || value.Text == "false")) {
            Advance();
            return PropertyRecord::Boolean(name.Text, value.Text == "true");
        }
        std::string text = Expect(TokenKind::String,
                                  "a value (true, false, an integer or a "
                                  "string) for " +
                                      name.Text)
                               .Text;
        while (m_current.Kind == TokenKind::String) {
            text += m_current.Text;
            Advance();
        }
        return PropertyRecord::String(name.Text, std::move(text));
    }

    DefinitionTokenizer m_tokens;
    Token m_current;
};

}  // namespace

ResourceDefinition ParseResourceDefinition(std::string_view text, std::string_view sourceName) {
    return DefinitionParser(text, sourceName).Parse();
}

}  // namespace kestrix
