// \brief Resolving the valid items through their links and the debug information.
#include "crash/stack/final_output.h"

#include <algorithm>
#include <utility>

#include "crash/stack/output_filters.h"
#include "crash/stack/procedure_identification.h"

namespace kestrix {
namespace {

// Whether the procedure's code holds the address: a caller's link names the procedure it called,
// and after a tail call in there the item's call lies in the procedure jumped to instead.
bool HoldsCode(const TProcedure& procedure, std::uintptr_t address) {
    if (address < procedure.Entry)
        return false;
    if (procedure.ExtentEnd)
        return address < *procedure.ExtentEnd;
    return address == procedure.Entry ||
           std::any_of(procedure.Info.Areas.begin(), procedure.Info.Areas.end(),
                       [address](const TCodeArea& area) { return area.Contains(address); });
}

// The code address from the first approved up link, which also names the procedure; else from
// the first up link with a code address, else from the best down link, else the item's address.
void FillCodeAddress(TInternalStackItem& item) {
    if (const TStackLink* approved = FirstApprovedUpLink(item);
        approved != nullptr && approved->CodeAddress) {
        item.CodeAddress = *approved->CodeAddress;
        if (HoldsCode(*approved->Procedure, item.CodeAddress)) {
            item.ProcedureName = approved->Procedure->Name;
            item.ProcedureStart = approved->Procedure->Entry;
        } else if (auto identity = IdentifyProcedure(item.CodeAddress)) {
            item.ProcedureName = std::move(identity->Name);
            item.ProcedureStart = identity->Entry;
        }
        return;
    }
    const auto withCode =
        std::find_if(item.Up.Links.begin(), item.Up.Links.end(),
                     [](const TStackLink& link) { return link.CodeAddress.has_value(); });
    if (withCode != item.Up.Links.end()) {
        item.CodeAddress = *withCode->CodeAddress;
        return;
    }
    if (item.Down.Best && item.Down.Links[*item.Down.Best].CodeAddress) {
        item.CodeAddress = *item.Down.Links[*item.Down.Best].CodeAddress;
        return;
    }
    item.CodeAddress = item.Address;
}

void FillFromDebugInfo(TStackWalk& walk, TInternalStackItem& item, const TMapFile& mapFile) {
    if (item.ProcedureName.empty()) {
        if (const auto symbol = mapFile.FindPublic(item.CodeAddress)) {
            item.ProcedureName = symbol->Name;
            item.ProcedureStart = symbol->Address;
        }
    }
    if (const auto segment = mapFile.FindSegment(item.CodeAddress))
        item.UnitName = segment->UnitName;
    item.Line = std::max(mapFile.FindLine(item.CodeAddress).Line, 0);
    if (item.ProcedureStart && item.Line > 0) {
        const std::int32_t firstLine = mapFile.FindLine(*item.ProcedureStart).Line;
        item.FirstLineKnown = firstLine > 0;
        if (item.FirstLineKnown && walk.Params.ShowRelLines)
            item.RelativeLine = item.Line - firstLine;
    }
    if (!mapFile.MinDebugInfo().empty()) {
        std::string entry = item.ModuleFileName + "|" + mapFile.MinDebugInfo();
        auto& list = walk.Result.MinimalDebugInfo;
        if (std::find(list.begin(), list.end(), entry) == list.end())
            list.push_back(std::move(entry));
    }
}

}  // namespace

void FillFinalOutput(TStackWalk& walk) {
    bool first = true;
    for (std::size_t x = walk.Items.size(); x-- > 0;) {
        walk.CheckAbort();
        TInternalStackItem& item = walk.Items[x];
        if (item.Invalid)
            continue;
        FillCodeAddress(item);
        item.ModuleFileName = item.Module != nullptr ? item.Module->FileName : "???";
        if (item.Module != nullptr && item.Module->MapFile)
            FillFromDebugInfo(walk, item, *item.Module->MapFile);
        if (std::exchange(first, false))
            walk.Result.ExceptionAddress = item.CodeAddress;
    }
    if (walk.Params.TerminateTrace)
        FilterTerminateTrace(walk.Items);
    if (walk.Params.PreparedStack != nullptr && walk.LocationAdded)
        FilterRaiseTimeStack(walk.Items);
}

}  // namespace kestrix
