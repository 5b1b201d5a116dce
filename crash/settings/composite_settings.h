// \brief The structure inside composite string settings: lists of class names and plug-ins,
// assistant definitions, extra attachments and extra fields.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "crash/settings/ikx_fields.h"

namespace kestrix {

// The parts between separators; an empty text has none, empty parts are dropped.
std::vector<std::string> SplitSettingList(std::string_view text, char separator);

// "name|title|form|form...": an assistant and its forms in the order they are shown.
struct AssistantDefinition {
    std::string Name;
    std::string Title;
    std::vector<std::string> Forms;

    friend bool operator==(const AssistantDefinition&, const AssistantDefinition&) = default;
};

// Empty when the text holds no name.
std::optional<AssistantDefinition> ParseAssistantDefinition(std::string_view text);

// One entry of `AddAttachs`: "path>send-as name>zip name>form-field name"; missing parts are empty.
struct AdditionalAttachment {
    std::string FilePath;
    std::string SendAsName;
    std::string ZipName;
    std::string FieldName;

    friend bool operator==(const AdditionalAttachment&, const AdditionalAttachment&) = default;
};

std::vector<AdditionalAttachment> ParseAdditionalAttachments(std::string_view text);

// `AddFields`: "name=content|name=content"; the content runs to the next "|" and may hold "=".
std::shared_ptr<IKXFields> ParseAdditionalFields(std::string_view text);

// `Plugins` with the name appended ("|" between), unless it is there already.
std::string WithPlugin(std::string_view plugins, std::string_view name);

// `Plugins` without the name and its separator.
std::string WithoutPlugin(std::string_view plugins, std::string_view name);

}  // namespace kestrix
