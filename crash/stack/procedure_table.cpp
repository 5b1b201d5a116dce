// \brief The procedure table: adding, analysing once, approving.
#include "crash/stack/procedure_table.h"

#include "crash/stack/memory_regions.h"
#include "crash/stack/parse_function.h"

namespace kestrix {

TProcedure* TProcedureTable::Find(std::uintptr_t entry) {
    const auto it = m_byEntry.find(entry);
    return it == m_byEntry.end() ? nullptr : it->second;
}

TProcedure& TProcedureTable::Add(std::uintptr_t entry,
                                 std::string name,
                                 const TModuleEntry* module,
                                 std::optional<std::uintptr_t> extentEnd) {
    TProcedure& procedure = m_procedures.emplace_back();
    procedure.Entry = entry;
    procedure.Name = std::move(name);
    procedure.Module = module;
    procedure.ExtentEnd = extentEnd;
    if (module != nullptr) {
        procedure.Info =
            ParseFunction(m_disassembler, entry, {module->CodeStart, module->CodeEnd, extentEnd});
    } else if (const auto mapping = TMemoryRegions::Snapshot().Find(entry);
               mapping && mapping->Executable) {
        // Code outside every module, generated at run time, stays inside its mapping.
        procedure.Info =
            ParseFunction(m_disassembler, entry, {mapping->Start, mapping->End, extentEnd});
    } else {
        // Data is no code: decoding a large zeroed mapping would run through all of it.
        procedure.Info.Entry = entry;
        procedure.Info.ErrorText = InvalidCodeText;
    }
    m_byEntry.emplace(entry, &procedure);
    return procedure;
}

TProcedure& TProcedureTable::ProcedureAt(std::uintptr_t entry) {
    if (TProcedure* known = Find(entry))
        return *known;
    auto identity = IdentifyProcedure(entry);
    if (identity && identity->Entry == entry)
        return Add(entry, std::move(identity->Name), identity->Module, identity->ExtentEnd);
    return Add(entry, "", FindModule(entry), std::nullopt);
}

TProcedure* TProcedureTable::ProcedureContaining(std::uintptr_t address) {
    auto identity = IdentifyProcedure(address);
    if (!identity)
        return nullptr;
    if (TProcedure* known = Find(identity->Entry))
        return known;
    return &Add(identity->Entry, std::move(identity->Name), identity->Module, identity->ExtentEnd);
}

void TProcedureTable::Approve(TProcedure& procedure) {
    if (procedure.Approved)
        return;
    procedure.Approved = true;
    // Copied: approving a jump target may add procedures while this list is walked.
    const auto calls = procedure.Info.Calls;
    for (const TFunctionCall& call : calls) {
        if (!call.IsCall)
            Approve(ProcedureAt(call.Target));
    }
}

TProcedureTable& ProcessProcedureTable() {
    static const CodeDisassembler disassembler;
    static TProcedureTable table(disassembler);
    return table;
}

}  // namespace kestrix
