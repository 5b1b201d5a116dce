// \brief TStackItem: one listed call site of a stack, as the report writes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrix {

struct TStackItem {
    std::uintptr_t CodeAddress = 0;
    std::uintptr_t ProcedureOffset = 0;  // from the procedure start; 0 when unknown
    bool HasProcedureStart = false;
    std::uintptr_t ModuleHandle = 0;  // where the module is loaded; 0 without a module
    std::string ModuleFileName;
    std::string UnitName;
    std::int32_t Line = 0;
    std::int32_t RelativeLine = 0;  // 0 when neither line is known
    std::string ProcedureName;
};
using TStackTrace = std::vector<TStackItem>;

}  // namespace kestrix
