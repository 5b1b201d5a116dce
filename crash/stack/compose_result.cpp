// \brief Listing, column widths and the lines, innermost item first, CR LF between lines.
#include "crash/stack/compose_result.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "crash/stack/call_stack_checksums.h"
#include "crash/stack/stack_addr_to_str.h"

namespace kestrix {
namespace {

bool IsListed(const TInternalStackItem& item, bool hideUglyItems) {
    if (item.Invalid)
        return false;
    if (item.Location || item.Creator)
        return true;
    return !item.ProcedureName.empty() && (!hideUglyItems || item.Line > 0);
}

TStackItem OutputItem(const TInternalStackItem& item) {
    TStackItem output;
    output.CodeAddress = item.CodeAddress;
    output.HasProcedureStart = item.ProcedureStart.has_value();
    output.ProcedureOffset = item.ProcedureStart ? item.CodeAddress - *item.ProcedureStart : 0;
    output.ModuleHandle = item.Module != nullptr ? item.Module->Handle : 0;
    output.ModuleFileName = item.ModuleFileName;
    output.UnitName = item.UnitName;
    output.Line = item.Line;
    output.RelativeLine = item.RelativeLine;
    output.ProcedureName = item.ProcedureName;
    return output;
}

std::string Hex(std::uintmax_t value, int width) {
    char text[24];
    std::snprintf(text, sizeof text, "%0*jx", width, value);
    return text;
}

std::string PadRight(std::string text, std::size_t width) {
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

std::string PadLeft(const std::string& text, std::size_t width) {
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

// The texts of the two line columns of one item: the line number beside its offset from the
// procedure's first line (with ShowRelLines, when that is known), then the offset or the line.
struct TLineTexts {
    std::string Line;
    std::string LineOrOffset;
};

TLineTexts LineTexts(const TInternalStackItem& item, bool showRelLines) {
    if (showRelLines && item.FirstLineKnown)
        return {std::to_string(item.Line), RelativeLineText(item.RelativeLine)};
    return {"", item.Line > 0 ? std::to_string(item.Line) : ""};
}

class TColumns {
  public:
    TColumns(const std::vector<const TInternalStackItem*>& listed, const TStackTraceParams& params)
        : m_params(params) {
        for (const TInternalStackItem* item : listed) {
            const TStackItem output = OutputItem(*item);
            m_offset = std::max(m_offset, Hex(output.ProcedureOffset, 0).size());
            m_module = std::max(m_module, item->ModuleFileName.size() + 1);
            m_unit = std::max(m_unit, item->UnitName.size() + 1);
            const TLineTexts lines = LineTexts(*item, params.ShowRelLines);
            m_line = std::max(m_line, lines.Line.size());
            m_lineOrOffset = std::max(m_lineOrOffset, lines.LineOrOffset.size());
        }
    }

    std::string Line(const TInternalStackItem& item) const {
        std::string text = Hex(item.CodeAddress, 16) + " ";
        if (m_params.ShowRelAddrs) {
            const TStackItem output = OutputItem(item);
            text += "+" + Hex(output.ProcedureOffset, static_cast<int>(m_offset)) + " ";
        }
        text += PadRight(item.ModuleFileName, m_module) + PadRight(item.UnitName, m_unit);
        const TLineTexts lines = LineTexts(item, m_params.ShowRelLines);
        if (m_line > 0)
            text += PadLeft(lines.Line, m_line) + " ";
        if (m_lineOrOffset > 0)
            text += PadLeft(lines.LineOrOffset, m_lineOrOffset) + " ";
        text += item.ProcedureName;
        text.erase(text.find_last_not_of(' ') + 1);
        return text;
    }

  private:
    const TStackTraceParams& m_params;
    std::size_t m_offset = 0;
    std::size_t m_module = 0;
    std::size_t m_unit = 0;
    std::size_t m_line = 0;
    std::size_t m_lineOrOffset = 0;
};

std::vector<const TInternalStackItem*> ListedItems(const TStackWalk& walk) {
    std::vector<const TInternalStackItem*> listed;
    for (std::size_t x = walk.Items.size(); x-- > 0;) {
        const TInternalStackItem& item = walk.Items[x];
        if (!IsListed(item, walk.Params.HideUglyItems))
            continue;
        if (!listed.empty() && listed.back()->CodeAddress == item.CodeAddress)
            continue;
        listed.push_back(&item);
    }
    return listed;
}

// The procedure of the first listed item with a procedure start, preferring one whose line was
// found together with its offset from the procedure's first line.
void SetShownProcedure(const std::vector<const TInternalStackItem*>& listed,
                       TStackTraceResult& result) {
    const auto withStart = [](const TInternalStackItem* item) {
        return item->ProcedureStart.has_value();
    };
    auto shown = std::find_if(listed.begin(), listed.end(), [&](const TInternalStackItem* item) {
        return withStart(item) && item->FirstLineKnown;
    });
    if (shown == listed.end())
        shown = std::find_if(listed.begin(), listed.end(), withStart);
    if (shown == listed.end())
        return;
    result.ProcedureStart = *(*shown)->ProcedureStart;
    result.ProcedureItemAddress = (*shown)->CodeAddress;
}

}  // namespace

void ComposeResult(TStackWalk& walk) {
    const auto listed = ListedItems(walk);
    const TColumns columns(listed, walk.Params);
    TStackTraceResult& result = walk.Result;
    for (const TInternalStackItem* item : listed) {
        walk.CheckAbort();
        if (!result.Text.empty())
            result.Text += "\r\n";
        result.Text += columns.Line(*item);
        result.Items.push_back(OutputItem(*item));
        result.AnyLineNumber = result.AnyLineNumber || item->Line > 0;
    }
    const CallStackChecksums checksums = ComputeCallStackChecksums(result.Items);
    result.Checksum1 = checksums.Location;
    result.Checksum2 = checksums.Chain;
    SetShownProcedure(listed, result);
}

}  // namespace kestrix
