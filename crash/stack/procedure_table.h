// \brief The procedure table: every procedure a trace has met, each analysed once per process,
// with its approved and invalid flags. An approved procedure's identity is sure (found through
// debug information, as the nearest export, or as the target of a call from an approved one);
// approving one also approves every procedure it jumps to, and approval is never withdrawn. An
// invalid procedure is ignored by every test. Traces are made one at a time: the table has no
// lock of its own.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <unordered_map>

#include "crash/stack/code_disassembler.h"
#include "crash/stack/function_info.h"
#include "crash/stack/module_cache.h"
#include "crash/stack/procedure_identification.h"

namespace kestrix {

struct TProcedure {
    std::uintptr_t Entry = 0;
    std::string Name;
    const TModuleEntry* Module = nullptr;
    std::optional<std::uintptr_t> ExtentEnd;
    TFunctionInfo Info;
    bool Approved = false;
    bool Invalid = false;
};

class TProcedureTable {
  public:
    explicit TProcedureTable(const CodeDisassembler& disassembler) : m_disassembler(disassembler) {}

    // The procedure that starts at entry (a call's target), added and analysed on first use; it
    // takes name and extent from its identification when that starts there too.
    TProcedure& ProcedureAt(std::uintptr_t entry);
    // The procedure the debug information or the nearest export names for the address; none
    // when neither does.
    TProcedure* ProcedureContaining(std::uintptr_t address);
    TProcedure* Find(std::uintptr_t entry);

    void Approve(TProcedure& procedure);

    const CodeDisassembler& Disassembler() const { return m_disassembler; }

    // In the order the procedures were added.
    const std::deque<TProcedure>& Procedures() const { return m_procedures; }
    std::deque<TProcedure>& Procedures() { return m_procedures; }

  private:
    TProcedure& Add(std::uintptr_t entry,
                    std::string name,
                    const TModuleEntry* module,
                    std::optional<std::uintptr_t> extentEnd);

    const CodeDisassembler& m_disassembler;
    std::deque<TProcedure> m_procedures;  // a deque keeps the entries in place as it grows
    std::unordered_map<std::uintptr_t, TProcedure*> m_byEntry;
};

// The table of the process, kept from its first use on.
TProcedureTable& ProcessProcedureTable();

}  // namespace kestrix
