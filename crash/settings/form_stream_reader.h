// \brief Reader of the binary form stream "TPF0" (settings and assistant form resources).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "crash/settings/form_object.h"

namespace kestrix {

// Why a stream could not be read to its end. `UnknownType` is set for an unrecognised value-type
// byte; otherwise `Reason` says what was wrong.
struct FormStreamError {
    std::size_t Offset = 0;
    std::optional<std::uint8_t> UnknownType;
    std::string Reason;
};

// Everything read before an error stays in `Root`, nested objects included.
struct FormStreamReadResult {
    FormObject Root;
    std::optional<FormStreamError> Error;
};

FormStreamReadResult ReadFormStream(std::span<const std::uint8_t> bytes);

// "Internal error: Invalid <kind> resource ($0A)." for an unknown value type, the reason in the
// parentheses otherwise; `kind` is "settings" or "assistant".
std::string InvalidResourceMessage(std::string_view kind, const FormStreamError& error);

}  // namespace kestrix
