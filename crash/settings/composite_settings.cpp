// \brief Parsing and editing of the composite settings.
#include "crash/settings/composite_settings.h"

#include <algorithm>

#include "crash/settings/property_record.h"

namespace kestrix {
namespace {

std::vector<std::string> SplitKeepingEmpty(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end = text.find(separator); end != std::string_view::npos;
         end = text.find(separator, start)) {
        parts.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    parts.emplace_back(text.substr(start));
    return parts;
}

std::string JoinPlugins(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) {
        joined += joined.empty() ? name : "|" + name;
    }
    return joined;
}

}  // namespace

std::vector<std::string> SplitSettingList(std::string_view text, char separator) {
    std::vector<std::string> parts = SplitKeepingEmpty(text, separator);
    std::erase_if(parts, [](const std::string& part) { return part.empty(); });
    return parts;
}

std::optional<AssistantDefinition> ParseAssistantDefinition(std::string_view text) {
    const std::vector<std::string> parts = SplitKeepingEmpty(text, '|');
    if (parts.front().empty()) {
        return std::nullopt;
    }
    AssistantDefinition assistant;
    assistant.Name = parts[0];
    assistant.Title = parts.size() > 1 ? parts[1] : std::string();
    for (std::size_t i = 2; i < parts.size(); ++i) {
        if (!parts[i].empty()) {
            assistant.Forms.push_back(parts[i]);
        }
    }
    return assistant;
}

std::vector<AdditionalAttachment> ParseAdditionalAttachments(std::string_view text) {
    std::vector<AdditionalAttachment> attachments;
    for (const std::string& entry : SplitSettingList(text, '|')) {
        std::vector<std::string> parts = SplitKeepingEmpty(entry, '>');
        parts.resize(std::max<std::size_t>(parts.size(), 4));
        attachments.push_back({parts[0], parts[1], parts[2], parts[3]});
    }
    return attachments;
}

std::shared_ptr<IKXFields> ParseAdditionalFields(std::string_view text) {
    std::shared_ptr<IKXFields> fields = NewFields();
    for (const std::string& entry : SplitSettingList(text, '|')) {
        const std::size_t equals = entry.find('=');
        const std::string_view name = std::string_view(entry).substr(0, equals);
        fields->Insert(fields->Count(), name,
                       equals == std::string::npos ? "" : entry.substr(equals + 1));
    }
    return fields;
}

std::string WithPlugin(std::string_view plugins, std::string_view name) {
    std::vector<std::string> names = SplitSettingList(plugins, '|');
    if (std::ranges::none_of(names, [&](const std::string& it) { return SameName(it, name); })) {
        names.emplace_back(name);
    }
    return JoinPlugins(names);
}

std::string WithoutPlugin(std::string_view plugins, std::string_view name) {
    std::vector<std::string> names = SplitSettingList(plugins, '|');
    std::erase_if(names, [&](const std::string& it) { return SameName(it, name); });
    return JoinPlugins(names);
}

}  // namespace kestrix
