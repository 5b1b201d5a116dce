// \brief The rendering of the report text from its two field lists.
#include "crash/report/report_rendering.h"

#include <algorithm>
#include <string_view>

#include "crash/report/text_lines.h"

namespace kestrix {
namespace {

// Holds a field list locked for the lifetime of the object.
class FieldsLock {
  public:
    explicit FieldsLock(const IKXFields& fields) : m_fields(fields) { m_fields.Lock(); }
    ~FieldsLock() { m_fields.Unlock(); }
    FieldsLock(const FieldsLock&) = delete;
    FieldsLock& operator=(const FieldsLock&) = delete;

  private:
    const IKXFields& m_fields;
};

// Line breaks of any kind become blanks, and every run of blanks one blank.
void AppendOnOneLine(std::string& text, std::string_view content) {
    bool afterBlank = false;
    for (std::size_t i = 0; i < content.size(); ++i) {
        char c = content[i];
        if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n')
            ++i;
        if (c == '\r' || c == '\n')
            c = ' ';
        if (c == ' ' && afterBlank)
            continue;
        afterBlank = c == ' ';
        text.push_back(c);
    }
}

void AppendHeader(std::string& text, const IKXFields& header) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < header.Count(); ++i)
        width = std::max(width, header.Name(i).size());
    for (std::size_t i = 0; i < header.Count(); ++i) {
        if (i > 0)
            text += "\r\n";
        const std::string name = header.Name(i);
        text += name;
        text.append(width + 1 - name.size(), ' ');
        text += ": ";
        AppendOnOneLine(text, header.Content(i));
    }
}

void AppendSection(std::string& text, const std::string& name, const std::string& content) {
    text += "\r\n\r\n";
    text += name;
    if (name.find(':') == std::string::npos)
        text += ':';
    for (std::string_view line : SplitLines(content)) {
        line = TrimTrailingBlanks(line);
        text += "\r\n";
        if (line.empty())
            text += '.';
        else
            text += line;
    }
}

}  // namespace

std::string RenderBugReport(const IKXFields& header, const IKXFields& sections) {
    const FieldsLock headerLock(header);
    const FieldsLock sectionsLock(sections);
    std::string text;
    AppendHeader(text, header);
    for (std::size_t i = 0; i < sections.Count(); ++i)
        AppendSection(text, sections.Name(i), sections.Content(i));
    return text;
}

}  // namespace kestrix
