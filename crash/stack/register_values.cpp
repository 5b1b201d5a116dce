// \brief The general registers' known values, indexed as RAX..R15.
#include "crash/stack/register_values.h"

namespace kestrix {

std::optional<std::size_t> RegisterValues::Index(ZydisRegister reg) {
    const ZydisRegister full = ZydisRegisterGetLargestEnclosing(ZYDIS_MACHINE_MODE_LONG_64, reg);
    if (full < ZYDIS_REGISTER_RAX || full > ZYDIS_REGISTER_R15)
        return std::nullopt;
    return static_cast<std::size_t>(full - ZYDIS_REGISTER_RAX);
}

std::optional<std::uint64_t> RegisterValues::Value(ZydisRegister reg) const {
    const auto index = Index(reg);
    if (!index)
        return std::nullopt;
    return m_values[*index];
}

void RegisterValues::Set(ZydisRegister reg, std::uint64_t value) {
    if (const auto index = Index(reg))
        m_values[*index] = value;
}

void RegisterValues::Forget(ZydisRegister reg) {
    if (const auto index = Index(reg))
        m_values[*index] = std::nullopt;
}

void RegisterValues::ForgetCallClobbered() {
    for (const ZydisRegister reg : {ZYDIS_REGISTER_RAX, ZYDIS_REGISTER_RCX, ZYDIS_REGISTER_RDX,
                                    ZYDIS_REGISTER_RSI, ZYDIS_REGISTER_RDI, ZYDIS_REGISTER_R8,
                                    ZYDIS_REGISTER_R9, ZYDIS_REGISTER_R10, ZYDIS_REGISTER_R11})
        Forget(reg);
}

}  // namespace kestrix
