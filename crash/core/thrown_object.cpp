// \brief Class structure of thrown objects through the C++ ABI's type information.
#include "crash/core/thrown_object.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace kestrix {
namespace {

// The Itanium ABI's exception pointer is the address of the thrown object and nothing else.
static_assert(sizeof(std::exception_ptr) == sizeof(void*));

// "ns::Outer<int>::Inner" -> "Inner": the last name at nesting depth zero.
std::string NameWithoutNamespace(std::string_view name) {
    int depth = 0;
    std::size_t start = 0;
    std::string plain;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c == '<') {
            ++depth;
        } else if (c == '>') {
            --depth;
        } else if (depth == 0 && c == ':' && i + 1 < name.size() && name[i + 1] == ':') {
            start = i + 2;
        }
    }
    depth = 0;
    for (std::size_t i = start; i < name.size(); ++i) {
        if (name[i] == '<') {
            ++depth;
        } else if (name[i] == '>') {
            --depth;
        } else if (depth == 0) {
            plain += name[i];
        }
    }
    return plain;
}

std::string DemangledName(const std::type_info& type) {
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), &std::free);
    return NameWithoutNamespace(status == 0 && demangled ? demangled.get() : type.name());
}

void CollectClassNames(const std::type_info& type, std::vector<const std::type_info*>& seen) {
    if (std::find(seen.begin(), seen.end(), &type) != seen.end()) {
        return;
    }
    seen.push_back(&type);
    if (const auto* single = dynamic_cast<const abi::__si_class_type_info*>(&type)) {
        CollectClassNames(*single->__base_type, seen);
    } else if (const auto* multiple = dynamic_cast<const abi::__vmi_class_type_info*>(&type)) {
        for (unsigned i = 0; i < multiple->__base_count; ++i) {
            CollectClassNames(*multiple->__base_info[i].__base_type, seen);
        }
    }
}

}  // namespace

ThrownObject ThrownObjectOf(const std::exception_ptr& exception) {
    if (!exception) {
        return {};
    }
    void* object = nullptr;
    std::memcpy(&object, &exception, sizeof object);
    return {.Object = object, .Type = exception.__cxa_exception_type()};
}

std::vector<std::string> ClassNames(const std::type_info& type) {
    if (dynamic_cast<const abi::__class_type_info*>(&type) == nullptr) {
        return {};
    }
    std::vector<const std::type_info*> types;
    CollectClassNames(type, types);
    std::vector<std::string> names;
    names.reserve(types.size());
    for (const std::type_info* each : types) {
        names.push_back(DemangledName(*each));
    }
    return names;
}

std::exception* AsStdException(const ThrownObject& object) {
    if (!object) {
        return nullptr;
    }
    // The same adjustment a handler `catch (std::exception&)` makes.
    void* adjusted = object.Object;
    if (!typeid(std::exception).__do_catch(object.Type, &adjusted, 1)) {
        return nullptr;
    }
    return static_cast<std::exception*>(adjusted);
}

std::string ExceptionMessage(const ThrownObject& object) {
    const std::exception* exception = AsStdException(object);
    return exception != nullptr ? exception->what() : "";
}

std::string ClassName(const ThrownObject& object) {
    if (!object) {
        return "";
    }
    const std::vector<std::string> names = ClassNames(*object.Type);
    return names.empty() ? DemangledName(*object.Type) : names.front();
}

}  // namespace kestrix
