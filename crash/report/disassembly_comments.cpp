// \brief Naming the places that instructions refer to.
#include "crash/report/disassembly_comments.h"

#include <array>
#include <charconv>

#include "crash/report/text_test.h"
#include "crash/stack/code_disassembler.h"
#include "crash/stack/guarded_read.h"
#include "crash/stack/module_cache.h"
#include "crash/stack/procedure_identification.h"

namespace kestrix {
namespace {

// Bytes at the end of a module whose addresses get no comment.
constexpr std::uintptr_t ModuleTailBytes = 100;

struct NamedProcedure {
    std::string Name;
    const TModuleEntry* Module = nullptr;
};

std::optional<NamedProcedure> ProcedureStartingAt(std::uintptr_t address) {
    const auto identity = IdentifyProcedure(address);
    if (!identity || identity->Entry != address || identity->Name.empty())
        return std::nullopt;
    // Demangled names hold parentheses (parameter lists, "(anonymous namespace)"); only a name
    // that starts with one is not a name to show.
    if (identity->Name.front() == '(')
        return NamedProcedure{};
    return NamedProcedure{identity->Name, identity->Module};
}

// The target of a stub that only jumps on (a PLT entry: endbr64, then a jump through a cell).
std::optional<std::uintptr_t> JumpStubTarget(std::uintptr_t stub) {
    static constexpr std::array<std::byte, 4> Endbr64{std::byte{0xf3}, std::byte{0x0f},
                                                      std::byte{0x1e}, std::byte{0xfa}};
    std::array<std::byte, 4> start{};
    if (TryRead(stub, start) && start == Endbr64)
        stub += Endbr64.size();
    const auto jump = CodeDisassembler().Decode(stub);
    if (jump && jump->Branch == TBranchKind::bkJump && jump->HasFixedTarget())
        return jump->Target;
    return std::nullopt;
}

const TModuleEntry* ReporterModule() {
    static const TModuleEntry* const module =
        FindModule(reinterpret_cast<std::uintptr_t>(&TargetComment));
    return module;
}

bool PointsIntoModule(std::uintptr_t address) {
    const TModuleEntry* module = FindModule(address);
    return module != nullptr && address + ModuleTailBytes < module->ImageEnd;
}

std::optional<std::string> NameComment(const NamedProcedure& procedure) {
    return procedure.Name.empty() ? std::nullopt : std::optional{procedure.Name};
}

std::optional<std::string> TextComment(std::uintptr_t address) {
    if (auto text = TextAt(address))
        return "'" + *text + "'";
    return std::nullopt;
}

// A procedure there, else the address a cell there holds, else text there.
std::optional<std::string> CommentAt(std::uintptr_t address) {
    if (const auto procedure = ProcedureStartingAt(address))
        return NameComment(*procedure);
    if (const auto cell = TryReadValue<std::uint64_t>(address); cell && PointsIntoModule(*cell)) {
        const auto pointee = static_cast<std::uintptr_t>(*cell);
        if (const auto procedure = ProcedureStartingAt(pointee))
            return NameComment(*procedure);
        if (auto text = TextComment(pointee))
            return text;
    }
    return TextComment(address);
}

}  // namespace

std::optional<std::string> TargetComment(std::uintptr_t target) {
    auto procedure = ProcedureStartingAt(target);
    if (!procedure) {
        if (const auto next = JumpStubTarget(target))
            procedure = ProcedureStartingAt(*next);
    }
    if (!procedure || procedure->Name.empty())
        return std::nullopt;
    if (procedure->Module != nullptr && procedure->Module != ReporterModule())
        return procedure->Name + " (" + procedure->Module->FileName + ")";
    return procedure->Name;
}

std::optional<std::string> OperandComment(std::string_view operands) {
    for (std::size_t at = operands.find("0x"); at != std::string_view::npos;
         at = operands.find("0x", at + 2)) {
        std::uintptr_t value = 0;
        const char* digits = operands.data() + at + 2;
        if (std::from_chars(digits, operands.data() + operands.size(), value, 16).ec != std::errc{})
            continue;
        if (PointsIntoModule(value))
            return CommentAt(value);
    }
    return std::nullopt;
}

}  // namespace kestrix
