// \brief Address texts through the debug information of the module that holds the address.
#include "crash/stack/stack_addr_to_str.h"

#include <cinttypes>
#include <cstdio>

#include "crash/debuginfo/map_file_cache.h"

namespace kestrix {
namespace {

std::string Hex(std::uintptr_t value, const char* format) {
    char text[24];
    std::snprintf(text, sizeof text, format, static_cast<std::uintmax_t>(value));
    return text;
}

}  // namespace

std::string RelativeLineText(std::int32_t offset) {
    return (offset < 0 ? "" : "+") + std::to_string(offset);
}

std::string StackAddrToStr(std::uintptr_t address, bool showRelAddrs, bool showRelLines) {
    std::string text = Hex(address, "%016jx");
    const auto mapFile = FindMapFile(address);
    const MapFileInfos infos =
        mapFile && mapFile->Valid() ? mapFile->GetMapFileInfos(address) : MapFileInfos{};
    if (!infos.Found)
        return text + (showRelAddrs ? " +0" : "") + " ???";
    if (showRelAddrs)
        text += " +" + Hex(address - infos.ProcedureStart, "%jx");
    text += " " + infos.ModuleFileName + " " + infos.UnitName + " ";
    if (infos.Line > 0)
        text += std::to_string(infos.Line) + " ";
    if (showRelLines) {
        const std::int32_t firstLine = mapFile->FindLine(infos.ProcedureStart).Line;
        text +=
            RelativeLineText(infos.Line > 0 && firstLine > 0 ? infos.Line - firstLine : 0) + " ";
    }
    return text + infos.ProcedureName;
}

std::string InternalErrorAt(std::string_view partName,
                            std::uintptr_t failedAt,
                            bool showRelAddrs,
                            bool showRelLines) {
    return ">> internal error in " + std::string(partName) + ":\r\n" +
           StackAddrToStr(failedAt, showRelAddrs, showRelLines);
}

std::string InternalError(std::string_view partName, bool showRelAddrs, bool showRelLines) {
    // The caller's return address less one lies inside the call that reports the error.
    const auto caller = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0)) - 1;
    return InternalErrorAt(partName, caller, showRelAddrs, showRelLines);
}

}  // namespace kestrix
