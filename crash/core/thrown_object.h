// \brief A thrown C++ object as failure handling sees it: its address and type, the class names
// the class filters compare (the class and every ancestor, without namespace) and its message.
#pragma once

#include <exception>
#include <string>
#include <typeinfo>
#include <vector>

namespace kestrix {

struct ThrownObject {
    void* Object = nullptr;
    const std::type_info* Type = nullptr;

    explicit operator bool() const { return Object != nullptr && Type != nullptr; }
};

// The object an exception pointer holds; none for an empty one.
ThrownObject ThrownObjectOf(const std::exception_ptr& exception);

// The class's name and its ancestors' (single and multiple inheritance, each once, nearest first),
// without namespace or template arguments; empty for a type that is no class.
std::vector<std::string> ClassNames(const std::type_info& type);

// what() of a std::exception, "" for any other object.
std::string ExceptionMessage(const ThrownObject& object);

// The object as a std::exception, or nullptr.
std::exception* AsStdException(const ThrownObject& object);

// The class name of the object ("" when none).
std::string ClassName(const ThrownObject& object);

}  // namespace kestrix
