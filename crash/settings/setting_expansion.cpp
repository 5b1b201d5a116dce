// \brief Variable expansion of string settings.
#include "crash/settings/setting_expansion.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>

#include "crash/settings/property_record.h"

namespace kestrix {
namespace {

std::tm LocalTime(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&seconds, &local);
    return local;
}

std::string WithoutExtension(const std::string& fileName) {
    return std::filesystem::path(fileName).stem().string();
}

// The value of a variable, or nothing for a name this expansion leaves in place.
std::optional<std::string> VariableValue(std::string_view name, const ExpansionContext& context) {
    if (SameName(name, "appname")) {
        return context.AppName;
    }
    if (SameName(name, "modname")) {
        return context.ModName;
    }
    if (SameName(name, "LF")) {
        return "\r\n";
    }
    if (SameName(name, "date")) {
        return FormatSettingDate(context.Now);
    }
    if (SameName(name, "time")) {
        return FormatSettingTime(context.Now);
    }
    if (SameName(name, "datetime")) {
        return FormatSettingDate(context.Now) + ", " + FormatSettingTime(context.Now);
    }
    return std::nullopt;
}

}  // namespace

std::string ExpandSettingText(std::string_view text, const ExpansionContext& context) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find('%', pos);
        const std::size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
        if (close == std::string_view::npos) {
            out.append(text.substr(pos));
            break;
        }
        out.append(text.substr(pos, open - pos));
        const std::optional<std::string> value =
            VariableValue(text.substr(open + 1, close - open - 1), context);
        if (value) {
            out += *value;
            pos = close + 1;
        } else {
            // The closing sign may open the next variable: "100%%appname%".
            out += '%';
            pos = open + 1;
        }
    }
    return out;
}

std::string ExpandReportFileName(std::string_view text, const ExpansionContext& context) {
    ExpansionContext withoutExtensions = context;
    withoutExtensions.AppName = WithoutExtension(context.AppName);
    withoutExtensions.ModName = WithoutExtension(context.ModName);
    return ExpandSettingText(text, withoutExtensions);
}

std::string FormatSettingDate(std::chrono::system_clock::time_point when) {
    const std::tm local = LocalTime(when);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    return text;
}

std::string FormatSettingTime(std::chrono::system_clock::time_point when) {
    const std::tm local = LocalTime(when);
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count() %
        1000;
    char text[48];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d, %dms", local.tm_hour, local.tm_min,
                  local.tm_sec, int(milliseconds < 0 ? milliseconds + 1000 : milliseconds));
    return text;
}

}  // namespace kestrix
