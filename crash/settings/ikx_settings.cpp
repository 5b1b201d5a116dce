// \brief The typed, expanded and composite access that every settings object shares.
#include "crash/settings/ikx_settings.h"

#include <chrono>

namespace kestrix {

bool IKXSettings::GetBool(std::string_view name) const {
    const std::optional<PropertyRecord> setting = FindSetting(name);
    return setting && setting->AsBool();
}

std::int32_t IKXSettings::GetInt(std::string_view name) const {
    const std::optional<PropertyRecord> setting = FindSetting(name);
    return setting ? setting->AsInt() : 0;
}

std::uint32_t IKXSettings::GetUInt(std::string_view name) const {
    return static_cast<std::uint32_t>(GetInt(name));
}

std::string IKXSettings::GetString(std::string_view name) const {
    return ExpandSettingText(GetRawString(name), Expansion());
}

std::string IKXSettings::GetRawString(std::string_view name) const {
    const std::optional<PropertyRecord> setting = FindSetting(name);
    return setting ? setting->AsString() : std::string();
}

void IKXSettings::SetBool(std::string_view name, bool value) {
    SetSetting(PropertyRecord::Boolean(std::string(name), value));
}

void IKXSettings::SetInt(std::string_view name, std::int32_t value) {
    SetSetting(PropertyRecord::Integer(std::string(name), value));
}

void IKXSettings::SetUInt(std::string_view name, std::uint32_t value) {
    SetInt(name, static_cast<std::int32_t>(value));
}

void IKXSettings::SetString(std::string_view name, std::string_view value) {
    SetSetting(PropertyRecord::String(std::string(name), std::string(value)));
}

std::string IKXSettings::ReportFileName() const {
    return ExpandReportFileName(GetRawString("BugRepFile"), Expansion());
}

std::vector<std::string> IKXSettings::F1Classes() const {
    return SplitSettingList(GetString("F1Classes"), ',');
}

std::vector<std::string> IKXSettings::F2Classes() const {
    return SplitSettingList(GetString("F2Classes"), ',');
}

void IKXSettings::SetF1Classes(std::string_view classes) {
    SetString("F1Classes", classes);
}

void IKXSettings::SetF2Classes(std::string_view classes) {
    SetString("F2Classes", classes);
}

std::vector<std::string> IKXSettings::Plugins() const {
    return SplitSettingList(GetString("Plugins"), '|');
}

void IKXSettings::SetPlugins(std::string_view plugins) {
    SetString("Plugins", plugins);
}

void IKXSettings::AddPlugin(std::string_view name) {
    SetPlugins(WithPlugin(GetRawString("Plugins"), name));
}

void IKXSettings::RemovePlugin(std::string_view name) {
    SetPlugins(WithoutPlugin(GetRawString("Plugins"), name));
}

std::vector<AssistantDefinition> IKXSettings::Assistants() const {
    std::vector<AssistantDefinition> assistants;
    for (int index = 1;; ++index) {
        const std::optional<AssistantDefinition> assistant =
            ParseAssistantDefinition(GetString("Assistant" + std::to_string(index)));
        if (!assistant) {
            return assistants;
        }
        assistants.push_back(*assistant);
    }
}

std::optional<AssistantDefinition> IKXSettings::AssistantByName(std::string_view name) const {
    for (const AssistantDefinition& assistant : Assistants()) {
        if (SameName(assistant.Name, name)) {
            return assistant;
        }
    }
    return std::nullopt;
}

std::vector<AdditionalAttachment> IKXSettings::AddAttachs() const {
    return ParseAdditionalAttachments(GetString("AddAttachs"));
}

void IKXSettings::SetAddAttachs(std::string_view attachments) {
    SetString("AddAttachs", attachments);
}

std::shared_ptr<IKXFields> IKXSettings::AddFields() const {
    return ParseAdditionalFields(GetString("AddFields"));
}

void IKXSettings::SetAddFields(std::string_view fields) {
    SetString("AddFields", fields);
}

ExpansionContext IKXSettings::Expansion() const {
    return {ApplicationFileName(), ModuleFileName(Module()), std::chrono::system_clock::now()};
}

}  // namespace kestrix
