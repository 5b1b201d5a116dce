// \brief Finding and reading assistant form resources.
#include "crash/settings/assistant_form_resource.h"

#include "crash/settings/form_stream_reader.h"
#include "crash/settings/internal_error.h"
#include "crash/settings/module_resources.h"

namespace kestrix {

std::string AssistantFormResourceName(std::string_view formName) {
    std::string name = "TKX";
    for (const char c : formName) {
        name += c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    }
    return name;
}

std::optional<FormObject> LoadAssistantForm(ModuleHandle module, std::string_view formName) {
    const std::string resourceName = AssistantFormResourceName(formName);
    std::optional<std::span<const std::uint8_t>> bytes = FindModuleResource(module, resourceName);
    if (!bytes) {
        bytes = FindModuleResource(MainModule(), resourceName);
    }
    if (!bytes) {
        return std::nullopt;
    }
    FormStreamReadResult read = ReadFormStream(*bytes);
    if (read.Error) {
        ShowInternalError(InvalidResourceMessage("assistant", *read.Error));
        return std::nullopt;
    }
    return std::move(read.Root);
}

}  // namespace kestrix
