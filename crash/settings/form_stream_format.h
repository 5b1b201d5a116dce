// \brief The binary form stream "TPF0": signature and value-type bytes, shared by reader and
// writer.
//
// Layout: "TPF0", then one object. An object is its class name and its name (each a length byte
// and the characters), its properties (a length-prefixed name, a value-type byte and the value)
// ended by a name of length 0, and its nested objects in the same form ended by a 0 byte.
// Integers are little-endian. A stream that ends right after the root's property list has no
// nested objects.
#pragma once

#include <cstdint>
#include <string_view>

namespace kestrix {

inline constexpr std::string_view FormStreamSignature = "TPF0";

enum class FormValueType : std::uint8_t {
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    ShortString = 6,
    False = 8,
    True = 9,
    LongString = 12,
    WideString = 18,
};

// Deeper nesting is refused so that damaged input cannot exhaust the stack.
inline constexpr int MaxFormNesting = 32;

}  // namespace kestrix
