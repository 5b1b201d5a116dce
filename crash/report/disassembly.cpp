// \brief Composing the disassembly listing: labels, instruction lines with their comments, the
// spacers and separators, then the source-line column and the limit.
#include "crash/report/disassembly.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>
#include <stdexcept>
#include <vector>

#include "crash/report/disassembly_comments.h"
#include "crash/report/disassembly_listing.h"
#include "crash/report/hex_text.h"
#include "crash/report/text_lines.h"
#include "crash/stack/code_disassembler.h"
#include "crash/stack/code_window.h"
#include "crash/stack/guarded_read.h"
#include "crash/stack/module_cache.h"
#include "crash/stack/parse_function.h"
#include "crash/stack/procedure_identification.h"

namespace kestrix {
namespace {

// Column positions within the text after the address and its blank.
constexpr std::size_t MnemonicColumnEnd = 10;
constexpr std::size_t CommentColumn = 31;
constexpr std::size_t LabelWidth = 31;

constexpr const char* SeparatorText = "; ---------------------------------------------------------";

int DigitCount(std::int32_t value) {
    return static_cast<int>(std::to_string(value).size());
}

// The prefixes and mnemonic, and the operands, of an instruction's text.
struct SplitInstruction {
    std::string Mnemonic;
    std::string Operands;
};

SplitInstruction SplitText(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    static constexpr std::string_view Prefixes[] = {"lock ", "repne ", "repe ",
                                                    "rep ",  "bnd ",   "notrack "};
    std::size_t start = 0;
    for (bool found = true; found;) {
        found = false;
        for (const std::string_view prefix : Prefixes) {
            if (std::string_view(text).substr(start).starts_with(prefix)) {
                start += prefix.size();
                found = true;
            }
        }
    }
    const std::size_t blank = text.find(' ', start);
    if (blank == std::string::npos)
        return {text, ""};
    return {text.substr(0, blank), text.substr(blank + 1)};
}

// Whether a jump leads into the runtime's exception handling, which needs no separator after it.
bool IntoExceptionHandling(const std::optional<std::string>& targetName) {
    return targetName && (targetName->starts_with("_Unwind_") || targetName->starts_with("__cxa_"));
}

class DisAsmComposer {
  public:
    DisAsmComposer(const TFunctionInfo& info,
                   std::string_view procedureName,
                   std::uintptr_t itemAddress,
                   const TDisAsmOptions& options)
        : m_info(info),
          m_entryName(procedureName.empty() ? "sub_" + HexDigits(info.Entry)
                                            : std::string(procedureName)),
          m_itemAddress(itemAddress),
          m_options(options),
          m_module(FindModule(info.Entry)) {}

    std::string Compose() {
        if (m_info.Areas.empty())
            return std::string(DisAsmInternalErrorText);
        CollectJumpTargets();
        for (const TCodeArea& area : m_info.Areas) {
            for (std::uintptr_t address = area.First; address <= area.Last;)
                address = AddInstruction(address, address == area.First);
        }
        return JoinLines(LimitListing(
            ListingTexts(
                m_lines, [this](std::uintptr_t address) { return SourceLineOf(address); },
                LineColumnWidth()),
            m_marked, m_options.LimitDisAsm));
    }

  private:
    bool InProcedure(std::uintptr_t address) const {
        return std::any_of(m_info.Areas.begin(), m_info.Areas.end(),
                           [&](const TCodeArea& area) { return area.Contains(address); });
    }

    // The procedure's lines all come from the debug information of its own module.
    std::int32_t SourceLineOf(std::uintptr_t address) const {
        const TMapFile* map = m_module != nullptr ? m_module->MapFile.get() : nullptr;
        return map != nullptr && map->Valid() ? map->FindLine(address).Line : 0;
    }

    // Through a window of code bytes, so that decoding costs no read per instruction.
    std::optional<TDecodedInstruction> Decode(std::uintptr_t address) {
        return m_disassembler.DecodeBytes(m_code.At(address), address);
    }

    void CollectJumpTargets() {
        for (const TCodeArea& area : m_info.Areas) {
            for (std::uintptr_t address = area.First; address <= area.Last;) {
                const auto decoded = Decode(address);
                if (!decoded)
                    break;
                if (decoded->IsJump() && decoded->TargetSource == TTargetSource::tsImmediate &&
                    InProcedure(decoded->Target))
                    m_jumpTargets.insert(decoded->Target);
                address = decoded->Next();
            }
        }
    }

    // Where no column fits every line, the item's own line is given one more digit.
    int LineColumnWidth() const {
        if (const std::int32_t last = SourceLineOf(m_info.Areas.back().Last); last > 0)
            return DigitCount(last);
        if (const std::int32_t item = SourceLineOf(m_itemAddress); item > 0)
            return DigitCount(item) + 1;
        return 0;
    }

    void AddSpacer(std::uintptr_t address) {
        if (!m_lines.empty() && !m_lines.back().Spacer)
            m_lines.push_back({address, "", true});
    }

    void AddSeparator(std::uintptr_t address) {
        AddSpacer(address);
        m_lines.push_back({address, SeparatorText, false});
        AddSpacer(address);
    }

    void AddLabel(std::uintptr_t address, bool startsArea) {
        const bool entry = address == m_info.Entry;
        if (!entry && !(m_options.FormatDisAsm && m_jumpTargets.contains(address)))
            return;
        if (startsArea)
            AddSpacer(address);
        if (entry)
            m_lines.push_back({address, PadRight("public " + m_entryName + ":", LabelWidth) +
                                            "  ; function entry point"});
        else
            m_lines.push_back({address, "loc_" + HexAddress(address) + ":"});
    }

    std::string TargetText(std::uintptr_t target) const {
        return target == m_info.Entry ? m_entryName : "loc_" + HexAddress(target);
    }

    // Adds the label, the instruction line and what follows it; returns the next address.
    std::uintptr_t AddInstruction(std::uintptr_t address, bool startsArea) {
        AddLabel(address, startsArea);
        const std::string mark = address == m_itemAddress ? " > " : "   ";
        if (address == m_itemAddress)
            m_marked = m_lines.size();
        const auto decoded = Decode(address);
        const auto text = decoded ? m_disassembler.Text(address) : std::nullopt;
        if (!text) {
            const auto byte = TryReadValue<std::uint8_t>(address);
            if (!byte)
                throw std::runtime_error("unreadable code");
            m_lines.push_back({address, mark + "db " + HexDigits(*byte, 2)});
            return address + 1;
        }
        SplitInstruction parts = SplitText(*text);
        std::optional<std::string> comment;
        const bool inProcedureTarget =
            decoded->TargetSource == TTargetSource::tsImmediate && InProcedure(decoded->Target);
        if (inProcedureTarget)
            parts.Operands = TargetText(decoded->Target);
        else if (decoded->HasTarget())
            comment = TargetComment(decoded->Target);
        else
            comment = OperandComment(parts.Operands);
        std::string line = mark + parts.Mnemonic;
        if (!parts.Operands.empty()) {
            PadTo(line, MnemonicColumnEnd);
            line += ' ' + parts.Operands;
        }
        if (comment) {
            PadTo(line, CommentColumn);
            line += "  ; " + *comment;
        }
        m_lines.push_back({address, std::move(line)});
        AddFlowBreak(*decoded, comment, inProcedureTarget);
        return decoded->Next();
    }

    // With FormatDisAsm: a spacer after a call, jump or return that more code follows; a
    // separator after a return or an unconditional jump.
    void AddFlowBreak(const TDecodedInstruction& decoded,
                      const std::optional<std::string>& comment,
                      bool inProcedureTarget) {
        if (!m_options.FormatDisAsm || decoded.Next() > m_info.Areas.back().Last)
            return;
        const bool ends = decoded.Branch == TBranchKind::bkReturn ||
                          (decoded.Branch == TBranchKind::bkJump &&
                           (inProcedureTarget || !IntoExceptionHandling(comment)));
        if (ends)
            AddSeparator(decoded.Next());
        else if (decoded.IsCall() || decoded.IsJump())
            AddSpacer(decoded.Next());
    }

    const TFunctionInfo& m_info;
    const std::string m_entryName;
    const std::uintptr_t m_itemAddress;
    const TDisAsmOptions m_options;
    const TModuleEntry* const m_module;
    const CodeDisassembler m_disassembler;
    TCodeWindow m_code;
    std::set<std::uintptr_t> m_jumpTargets;
    std::vector<TDisAsmLine> m_lines;
    std::optional<std::size_t> m_marked;
};

}  // namespace

std::string ComposeDisAsm(const TFunctionInfo& info,
                          std::string_view procedureName,
                          std::uintptr_t itemAddress,
                          const TDisAsmOptions& options) {
    try {
        return DisAsmComposer(info, procedureName, itemAddress, options).Compose();
    } catch (...) {
        return std::string(DisAsmInternalErrorText);
    }
}

std::string GetCleartextDisAsm(std::uintptr_t procedureStart,
                               std::uintptr_t itemAddress,
                               const TDisAsmOptions& options) {
    try {
        const TModuleEntry* module = FindModule(procedureStart);
        if (module == nullptr || !StartTryRead())
            return std::string(DisAsmInternalErrorText);
        const auto identity = IdentifyProcedure(procedureStart);
        const bool identified = identity && identity->Entry == procedureStart;
        const TParseRange range{module->CodeStart, module->CodeEnd,
                                identified ? identity->ExtentEnd : std::nullopt};
        const TFunctionInfo info = ParseFunction(CodeDisassembler(), procedureStart, range);
        return ComposeDisAsm(info, identified ? identity->Name : "", itemAddress, options);
    } catch (...) {
        return std::string(DisAsmInternalErrorText);
    }
}

}  // namespace kestrix
