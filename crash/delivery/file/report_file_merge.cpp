// \brief Duplicates and the size limit of a report file.
#include "crash/delivery/file/report_file_merge.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <optional>
#include <vector>

#include "crash/delivery/file/report_file_fields.h"

namespace kestrix {
namespace {

constexpr std::string_view ReportEnd = "\r\n\r\n";

// "$xxxxxxxx, $xxxxxxxx, $xxxxxxxx": the three checksums, each "$" and eight hexadecimal digits.
bool IsCompleteChecksumText(std::string_view text) {
    if (text.size() != 31) {
        return false;
    }
    for (std::size_t value = 0; value < 3; ++value) {
        const std::string_view part = text.substr(value * 11, 9);
        if (part[0] != '$' || !std::all_of(part.begin() + 1, part.end(), [](char c) {
                return std::isxdigit(static_cast<unsigned char>(c)) != 0;
            })) {
            return false;
        }
        if (value < 2 && text.substr(value * 11 + 9, 2) != ", ") {
            return false;
        }
    }
    return true;
}

// The checksums a duplicate must share: the first, the first two or all three.
std::optional<std::string> DuplicateKey(std::string_view report, const ReportFileRules& rules) {
    const auto checksums = ReportFieldValue(report, "callstack crc");
    if (!checksums || !IsCompleteChecksumText(*checksums)) {
        return std::nullopt;
    }
    const bool isException = ReportFieldValue(report, "exception class").has_value();
    if (!(isException ? rules.NoDupExcepts : rules.NoDupFreezes)) {
        return std::nullopt;
    }
    constexpr std::array<std::size_t, 3> KeyLengths{9, 20, 31};
    const auto rule =
        std::clamp<std::int32_t>(isException ? rules.DupExceptDef : rules.DupFreezeDef, 0, 2);
    return checksums->substr(0, KeyLengths[static_cast<std::size_t>(rule)]);
}

// Whether an old report comes from the same program and module as the new one.
bool SameOrigin(std::string_view oldReport, std::string_view newReport) {
    std::vector<std::string_view> fields{"executable", "current module", "exception class"};
    if (ReportFieldValue(newReport, "version")) {
        fields.push_back("version");
    } else {
        fields.push_back("exec. date/time");
        fields.push_back("module date/time");
    }
    return std::all_of(fields.begin(), fields.end(), [&](std::string_view name) {
        return ReportFieldValue(oldReport, name) == ReportFieldValue(newReport, name);
    });
}

long CountOf(std::string_view report) {
    const auto text = ReportFieldValue(report, "count");
    long count = 1;
    if (text) {
        std::from_chars(text->data(), text->data() + text->size(), count);
    }
    return std::max(count, 1L);
}

// Removes the earlier reports of the same failure from the file; returns the new report with its
// count, or unchanged when it has no duplicate.
std::string TakeOutDuplicates(std::string& file,
                              std::string_view report,
                              const ReportFileRules& rules) {
    const auto key = DuplicateKey(report, rules);
    if (!key) {
        return std::string(report);
    }
    const std::string needle = ": " + *key;
    std::vector<TextSpan> duplicates;
    long count = 0;
    for (std::size_t hit = file.find(needle); hit != std::string::npos;
         hit = file.find(needle, hit + 1)) {
        const TextSpan span = ReportSpanAt(file, hit);
        const std::string_view old = std::string_view(file).substr(span.Begin, span.Size());
        if ((duplicates.empty() || duplicates.back() != span) && SameOrigin(old, report)) {
            duplicates.push_back(span);
            count = CountOf(old);
        }
    }
    if (duplicates.empty()) {
        return std::string(report);
    }
    for (auto span = duplicates.rbegin(); span != duplicates.rend(); ++span) {
        file.erase(span->Begin, span->Size());
    }
    return WithCountLine(report, count + 1);
}

// Drops whole reports from the start until the rest is below three quarters of the limit; when
// the last report alone is too large, nothing is dropped.
void KeepSizeLimit(std::string& file, std::int64_t limit) {
    if (limit <= 0 || static_cast<std::int64_t>(file.size()) <= limit) {
        return;
    }
    for (const TextSpan& span : ReportSpans(file)) {
        if (static_cast<std::int64_t>(file.size() - span.Begin) * 4 < limit * 3) {
            file.erase(0, span.Begin);
            return;
        }
    }
}

}  // namespace

std::string MergeReportIntoFile(std::string_view file,
                                std::string_view report,
                                const ReportFileRules& rules) {
    std::string result;
    std::string newReport(report);
    if (rules.AppendBugReps && !file.empty()) {
        result.assign(file);
        newReport = TakeOutDuplicates(result, report, rules);
        KeepSizeLimit(result, rules.BugRepFileSize);
    }
    return result.append(newReport).append(ReportEnd);
}

}  // namespace kestrix
