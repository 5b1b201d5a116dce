// \brief The traversal of a procedure's code, area by area, and the decoding of what it left out.
#include "crash/stack/parse_function.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

#include "crash/stack/code_window.h"

namespace kestrix {
namespace {

constexpr std::array<std::byte, 4> Endbr64{std::byte{0xf3}, std::byte{0x0f}, std::byte{0x1e},
                                           std::byte{0xfa}};

class FunctionParser {
  public:
    FunctionParser(const CodeDisassembler& disassembler,
                   std::uintptr_t entry,
                   const TParseRange& range)
        : m_disassembler(disassembler), m_entry(entry), m_range(range) {}

    TFunctionInfo Run() {
        m_pending.push_back(m_entry);
        DecodePending(false);
        std::optional<std::uintptr_t> previousGap;
        while (!m_failed) {
            const auto gap = m_range.ExtentEnd ? GapInExtent() : GapBehindContiguousCode();
            if (!gap || gap == previousGap)
                break;
            previousGap = gap;
            m_pending.push_back(*gap);
            if (!DecodePending(true) && !m_range.ExtentEnd)
                break;  // a gap that does not decode ends the analysis
        }
        return Result();
    }

  private:
    bool InProcedure(std::uintptr_t target) const {
        if (m_range.ExtentEnd)
            return target >= m_entry && target < *m_range.ExtentEnd;
        return target >= m_range.CodeStart && target < m_range.CodeEnd;
    }

    bool InDecodableRange(std::uintptr_t address) const {
        return m_range.ExtentEnd ? address < *m_range.ExtentEnd : address < m_range.CodeEnd;
    }

    // A call to a stub that only jumps on (a PLT entry, a thunk) is recorded with the stub's
    // target, so that the callee found on the stack is the procedure the call reaches.
    std::uintptr_t FollowJumpStub(std::uintptr_t target) {
        std::uintptr_t address = target;
        const auto start = m_stubCode.At(address);
        if (start.size() >= Endbr64.size() &&
            std::equal(Endbr64.begin(), Endbr64.end(), start.begin()))
            address += Endbr64.size();
        const auto jump = m_disassembler.DecodeBytes(m_stubCode.At(address), address);
        if (jump && jump->Branch == TBranchKind::bkJump && jump->HasFixedTarget())
            return jump->Target;
        return target;
    }

    void Record(const TDecodedInstruction& instruction) {
        const bool isCall = instruction.IsCall();
        if (!instruction.HasTarget()) {
            m_info.UnknownTargets.push_back({isCall, instruction.Address, instruction.Next()});
            return;
        }
        if (!isCall && InProcedure(instruction.Target)) {
            m_pending.push_back(instruction.Target);
            return;
        }
        const std::uintptr_t target =
            isCall ? FollowJumpStub(instruction.Target) : instruction.Target;
        m_info.Calls.push_back({isCall, instruction.Address, instruction.Next(), target});
    }

    // An instruction that would run over the start of one already decoded: the area ends before.
    bool OverlapsDecodedCode(const TDecodedInstruction& instruction) const {
        const auto next = m_covered.upper_bound(instruction.Address);
        return next != m_covered.end() && next->first < instruction.Next();
    }

    // Decodes one area from start until the flow ends, it runs into code already decoded, or it
    // leaves the range. False when its first instruction does not decode; a later failure in a
    // tentative area (a gap) only ends the area, in a traversed one it makes the analysis invalid.
    bool DecodeArea(std::uintptr_t start, bool tentative) {
        RegisterValues registers;
        std::uintptr_t address = start;
        while (InDecodableRange(address) && !(address != start && m_covered.contains(address))) {
            const auto instruction =
                m_disassembler.DecodeBytes(m_code.At(address), address, &registers);
            if (!instruction) {
                if (!tentative)
                    m_failed = true;
                return address != start;
            }
            if (OverlapsDecodedCode(*instruction))
                return address != start;
            m_instructions.emplace(address, instruction->Length);
            m_covered.emplace(address, instruction->Length);
            if (instruction->IsCall() || instruction->IsJump())
                Record(*instruction);
            if (instruction->EndsFlow())
                break;
            address = instruction->Next();
        }
        return true;
    }

    bool DecodePending(bool tentative) {
        bool decodedAll = true;
        while (!m_pending.empty() && !m_failed) {
            const std::uintptr_t start = m_pending.back();
            m_pending.pop_back();
            if (m_covered.contains(start))
                continue;
            if (!DecodeArea(start, tentative)) {
                decodedAll = false;
                // An undecodable byte of a gap is passed over, so the next gap starts behind it.
                m_covered.emplace(start, 1);
            }
        }
        return decodedAll;
    }

    // The first byte of the extent that no decoded code covers.
    std::optional<std::uintptr_t> GapInExtent() const {
        std::uintptr_t position = m_entry;
        for (auto it = m_covered.lower_bound(m_entry); it != m_covered.end(); ++it) {
            if (it->first > position)
                break;
            position = std::max(position, it->first + it->second);
        }
        if (position < *m_range.ExtentEnd)
            return position;
        return std::nullopt;
    }

    std::optional<std::uintptr_t> GapBehindContiguousCode() const {
        if (!m_info.HasUnknownJump() || m_instructions.empty())
            return std::nullopt;
        auto it = m_covered.begin();
        std::uintptr_t end = it->first;
        for (; it != m_covered.end() && it->first <= end; ++it)
            end = std::max(end, it->first + it->second);
        if (it == m_covered.end())
            return std::nullopt;
        const auto& last = *m_instructions.rbegin();
        if (last.first + last.second - end >= GapRuleSpan)
            return std::nullopt;
        return end;
    }

    TFunctionInfo Result() {
        TFunctionInfo info = std::move(m_info);
        info.Entry = m_entry;
        info.Valid = !m_failed;
        if (m_failed)
            info.ErrorText = InvalidCodeText;
        for (const auto& [address, length] : m_instructions) {
            if (info.Areas.empty() || address != info.Areas.back().Last + 1)
                info.Areas.push_back({address, address + length - 1, TCodeAreaKind::akCode});
            else
                info.Areas.back().Last = address + length - 1;
        }
        if (!info.Areas.empty()) {
            info.LowestAddress = info.Areas.front().First;
            info.CodeLength = info.Areas.back().Last + 1 - info.LowestAddress;
        }
        return info;
    }

    const CodeDisassembler& m_disassembler;
    TCodeWindow m_code;
    TCodeWindow m_stubCode;  // the linkage-table stubs lie together, apart from the code
    const std::uintptr_t m_entry;
    const TParseRange m_range;
    std::vector<std::uintptr_t> m_pending;
    std::map<std::uintptr_t, std::uint8_t> m_instructions;
    // The decoded instructions and the undecodable bytes passed over in gaps.
    std::map<std::uintptr_t, std::uint8_t> m_covered;
    TFunctionInfo m_info;  // the calls and unknown targets as they are found
    bool m_failed = false;
};

}  // namespace

TFunctionInfo ParseFunction(const CodeDisassembler& disassembler,
                            std::uintptr_t entry,
                            const TParseRange& range) {
    return FunctionParser(disassembler, entry, range).Run();
}

}  // namespace kestrix
