// \brief Writer of the binary form stream "TPF0", used at build time by the resource compiler.
#pragma once

#include <cstdint>
#include <vector>

#include "crash/settings/form_object.h"

namespace kestrix {

// Each value takes the smallest type that holds it: integers 8, 16 or 32 bits; strings the short
// form when Windows-1252 holds them in at most 255 bytes, the long form when it holds them at
// all, UTF-16 otherwise. Throws std::invalid_argument for what the format cannot hold: a class,
// object or property name that is not 1 to 255 Windows-1252 characters (an object name may be
// empty), or a binary property.
std::vector<std::uint8_t> WriteFormStream(const FormObject& root);

}  // namespace kestrix
