// \brief The stack walker's working items: one per accepted candidate, outermost (index 0) to
// innermost, each with its links to the deeper items it calls and the outer items that call it,
// and the fields the output is filled from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "crash/stack/module_cache.h"
#include "crash/stack/procedure_table.h"

namespace kestrix {

// A call relation between two items, or (without another item) the record of an item's own
// procedure and call.
struct TStackLink {
    std::optional<std::size_t> Other;
    // The call instruction in front of the deeper item's return address, or the failing
    // instruction.
    std::optional<std::uintptr_t> CodeAddress;
    bool TargetKnown = false;
    std::uintptr_t Target = 0;
    TProcedure* Procedure = nullptr;  // none for a call with an unknown target
    std::uint64_t Score = 0;          // the chain score, 0 until computed
};

struct TStackLinks {
    std::vector<TStackLink> Links;
    std::optional<std::size_t> Best;  // the index of the best link, once scored
};

struct TInternalStackItem {
    std::uintptr_t Address = 0;  // a return address; for the location the one after it
    std::uintptr_t Value = 0;    // the value tested: the slot's, or the failing address
    const TModuleEntry* Module = nullptr;
    bool Anchor = false;
    bool Location = false;
    bool Creator = false;
    bool Invalid = false;
    TStackLinks Down;  // to deeper items (higher indexes), called later
    TStackLinks Up;    // to outer items

    // The output fields.
    std::uintptr_t CodeAddress = 0;
    std::string ModuleFileName;
    std::string UnitName;
    std::string ProcedureName;
    std::optional<std::uintptr_t> ProcedureStart;
    std::int32_t Line = 0;
    std::int32_t RelativeLine = 0;
    bool FirstLineKnown = false;  // the procedure's first line and the item's line are known
};
using TInternalStackItems = std::vector<TInternalStackItem>;

inline bool IsApproved(const TProcedure* procedure) {
    return procedure != nullptr && procedure->Approved && !procedure->Invalid;
}

// The first up link whose procedure is approved.
const TStackLink* FirstApprovedUpLink(const TInternalStackItem& item);

// Makes the item invalid for good: it loses its links, and so does every item linked to it.
void DropItem(TInternalStackItems& items, std::size_t index);

// Removes every link that names the procedure from every item.
void RemoveLinksNaming(TInternalStackItems& items, const TProcedure* procedure);

}  // namespace kestrix
