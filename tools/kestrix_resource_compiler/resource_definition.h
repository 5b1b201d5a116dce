// \brief Readable definitions of Kestrix resources (settings and assistant forms), parsed into the
// objects the binary form stream holds.
//
// The text form:
//
//   # a comment runs to the end of the line
//   resource TKESTRIX                  the resource name the stream is registered under
//   object Kestrix: TKestrix           object name, class name
//     Enabled = true                   booleans: true, false
//     FreezeTimeout = 60000            integers: decimal or 0x hexadecimal, 32-bit signed
//     TitleBar = "%appname%"           strings: double quotes, \" \\ \n \r \t escapes, UTF-8;
//     MailBody = "line one\r\n"        adjacent strings join into one
//                "line two"
//     object NameEdit: INVEdit         nested objects (the items of a form)
//       Lines = 1
//     end
//   end
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "crash/settings/form_object.h"

namespace kestrix {

struct ResourceDefinition {
    std::string ResourceName;
    kestrix::FormObject Root;
};

// The message names the source, the line and what was expected there.
class DefinitionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

ResourceDefinition ParseResourceDefinition(std::string_view text, std::string_view sourceName);

}  // namespace kestrix
