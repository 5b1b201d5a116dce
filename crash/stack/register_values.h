// \brief The known values of the sixteen general registers, carried along a run of decoded
// instructions, so that a call or jump through a register or a cell it points at gets a fixed
// target (`lea rax, [rip+x]` ... `call rax`).
#pragma once

#include <Zydis/Zydis.h>

#include <array>
#include <cstdint>
#include <optional>

namespace kestrix {

class RegisterValues {
  public:
    // The value of a register of any width (the 64-bit register that encloses it), if known.
    std::optional<std::uint64_t> Value(ZydisRegister reg) const;
    void Set(ZydisRegister reg, std::uint64_t value);
    void Forget(ZydisRegister reg);
    // A call leaves the registers the callee may change unknown.
    void ForgetCallClobbered();
    void ForgetAll() { m_values.fill(std::nullopt); }

  private:
    static std::optional<std::size_t> Index(ZydisRegister reg);

    std::array<std::optional<std::uint64_t>, 16> m_values{};
};

}  // namespace kestrix
