// \brief KXSettings: the settings of a module, of the module that contains an address, and of the
// main module.
//
// A module's settings read its own table first; a module other than the main module then reads
// the main module's settings; the main module finally reads the built-in defaults.
#pragma once

#include <memory>

#include "crash/settings/ikx_settings.h"
#include "crash/settings/module_info.h"

namespace kestrix {

std::shared_ptr<IKXModuleSettings> KXSettings(ModuleHandle module);

// The settings that apply to code at the address: its module's when that module has valid
// settings that do not say `NoSettings`; otherwise the first module with such settings, the main
// module first and then the others in address order; failing that, the main module's.
std::shared_ptr<IKXModuleSettings> KXSettings(const void* address);

std::shared_ptr<IKXModuleSettings> KXSettings();

}  // namespace kestrix
