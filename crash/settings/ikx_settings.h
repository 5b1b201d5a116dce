// \brief IKXSettings: read and change the reporter's settings by name or through typed accessors,
// and IKXModuleSettings, the settings of one module. String settings are expanded on every read.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "crash/settings/composite_settings.h"
#include "crash/settings/ikx_fields.h"
#include "crash/settings/module_info.h"
#include "crash/settings/property_record.h"
#include "crash/settings/setting_expansion.h"
#include "crash/settings/setting_names.h"

namespace kestrix {

class IKXSettings {
  public:
    virtual ~IKXSettings() = default;

    virtual ModuleHandle Module() const = 0;

    // The stored setting found by the lookup order of the implementation, not expanded; empty when
    // it exists nowhere.
    virtual std::optional<PropertyRecord> FindSetting(std::string_view name) const = 0;
    virtual void SetSetting(PropertyRecord setting) = 0;

    // A setting that exists nowhere reads as false, 0 or "".
    bool GetBool(std::string_view name) const;
    std::int32_t GetInt(std::string_view name) const;
    std::uint32_t GetUInt(std::string_view name) const;
    std::string GetString(std::string_view name) const;
    std::string GetRawString(std::string_view name) const;

    void SetBool(std::string_view name, bool value);
    void SetInt(std::string_view name, std::int32_t value);
    void SetUInt(std::string_view name, std::uint32_t value);
    void SetString(std::string_view name, std::string_view value);

// One getter and one setter per setting of the lists: Enabled(), SetEnabled(bool), and so on.
#define KESTRIX_TYPED_ACCESSORS(Name, Type, Getter, Setter) \
    Type Name() const {                                     \
        return Getter(#Name);                               \
    }                                                       \
    void Set##Name(Type value) {                            \
        Setter(#Name, value);                               \
    }
#define KESTRIX_BOOLEAN_ACCESSORS(Name) KESTRIX_TYPED_ACCESSORS(Name, bool, GetBool, SetBool)
#define KESTRIX_INTEGER_ACCESSORS(Name) KESTRIX_TYPED_ACCESSORS(Name, std::int32_t, GetInt, SetInt)
#define KESTRIX_STRING_ACCESSORS(Name) \
    KESTRIX_TYPED_ACCESSORS(Name, std::string, GetString, SetString)
    KESTRIX_BOOLEAN_SETTINGS(KESTRIX_BOOLEAN_ACCESSORS)
    KESTRIX_INTEGER_SETTINGS(KESTRIX_INTEGER_ACCESSORS)
    KESTRIX_STRING_SETTINGS(KESTRIX_STRING_ACCESSORS)
#undef KESTRIX_STRING_ACCESSORS
#undef KESTRIX_INTEGER_ACCESSORS
#undef KESTRIX_BOOLEAN_ACCESSORS
#undef KESTRIX_TYPED_ACCESSORS

    // `BugRepFile` expanded for the report file: the program and module names without extension.
    std::string ReportFileName() const;

    std::vector<std::string> F1Classes() const;
    std::vector<std::string> F2Classes() const;
    void SetF1Classes(std::string_view classes);
    void SetF2Classes(std::string_view classes);

    std::vector<std::string> Plugins() const;
    void SetPlugins(std::string_view plugins);
    void AddPlugin(std::string_view name);
    void RemovePlugin(std::string_view name);

    // `Assistant1`, `Assistant2` ... from 1 up to the first one that is empty.
    std::vector<AssistantDefinition> Assistants() const;
    std::optional<AssistantDefinition> AssistantByName(std::string_view name) const;

    std::vector<AdditionalAttachment> AddAttachs() const;
    void SetAddAttachs(std::string_view attachments);
    std::shared_ptr<IKXFields> AddFields() const;
    void SetAddFields(std::string_view fields);

  protected:
    ExpansionContext Expansion() const;
};

class IKXModuleSettings : public IKXSettings {
  public:
    // Whether the module has a settings resource, and whether it was read without damage.
    virtual bool HasSettingsResource() const = 0;
    virtual bool IsValid() const = 0;

    // The values typed into assistant forms during this run, kept per module.
    virtual std::shared_ptr<IKXFields> FormCache() const = 0;
};

}  // namespace kestrix
