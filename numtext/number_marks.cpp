// \brief The process-wide number marks and their loading from the user's locale.
#include "numtext/number_marks.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <type_traits>
#include <utility>

namespace gatool {

namespace {

const char* const DefaultDecimalMark = ".";
const char* const DefaultGroupMark = ",";

struct NumberMarks {
    std::string Decimal = DefaultDecimalMark;
    std::string Group = DefaultGroupMark;
};

NumberMarks& CurrentMarks() {
    static NumberMarks marks;
    return marks;
}

// Length of the UTF-8 sequence that starts with this byte; 0 for a byte that cannot start one.
std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

bool IsOneUtf8Character(std::string_view text) {
    if (text.empty() || Utf8SequenceLength(static_cast<unsigned char>(text[0])) != text.size()) {
        return false;
    }
    for (const char byte : text.substr(1)) {
        if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) {
            return false;
        }
    }
    return true;
}

// The locale's strings are in the locale's own character set (a legacy locale such as
// fr_FR.ISO-8859-1 gives its no-break space as the single byte 0xA0); the marks are UTF-8.
// Returns an empty text when the conversion fails.
std::string ToUtf8(std::string_view text, const char* codeset) {
    const iconv_t converter = iconv_open("UTF-8", codeset);
    if (converter == reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1))) {
        return {};
    }
    std::string input(text);
    std::string output(4 * input.size(), '\0');  // a character takes at most 4 bytes in UTF-8
    char* inputPos = input.data();
    std::size_t inputLeft = input.size();
    char* outputPos = output.data();
    std::size_t outputLeft = output.size();
    const std::size_t converted = iconv(converter, &inputPos, &inputLeft, &outputPos, &outputLeft);
    iconv_close(converter);
    if (converted == static_cast<std::size_t>(-1)) {
        return {};
    }
    output.resize(output.size() - outputLeft);
    return output;
}

std::string LocaleMarkOr(const char* localeText, const char* codeset, const char* fallback) {
    std::string mark = ToUtf8(localeText, codeset);
    return IsOneUtf8Character(mark) ? mark : fallback;
}

}  // namespace

const std::string& DecimalMark() {
    return CurrentMarks().Decimal;
}

const std::string& GroupMark() {
    return CurrentMarks().Group;
}

void SetNumberMarks(std::string decimal, std::string group) {
    if (!IsOneUtf8Character(decimal) || !IsOneUtf8Character(group)) {
        throw std::invalid_argument("a number mark must be one UTF-8 character");
    }
    CurrentMarks() = {std::move(decimal), std::move(group)};
}

void LoadNumberMarksFromUserLocale() {
    // A locale object of its own leaves the process locale (which Qt sets from the environment)
    // alone; "" names the user's choice from LC_ALL, LC_NUMERIC or LANG.
    const std::unique_ptr<std::remove_pointer_t<locale_t>, decltype(&freelocale)> userLocale(
        newlocale(LC_NUMERIC_MASK, "", nullptr), &freelocale);
    if (!userLocale) {
        SetNumberMarks(DefaultDecimalMark, DefaultGroupMark);
        return;
    }
    const char* codeset = nl_langinfo_l(_NL_NUMERIC_CODESET, userLocale.get());
    SetNumberMarks(
        LocaleMarkOr(nl_langinfo_l(RADIXCHAR, userLocale.get()), codeset, DefaultDecimalMark),
        LocaleMarkOr(nl_langinfo_l(THOUSEP, userLocale.get()), codeset, DefaultGroupMark));
}

}  // namespace gatool
