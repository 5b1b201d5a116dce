// \brief The candidate test: forced values, the basic test, identification and verification.
#include "crash/stack/candidate_test.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "crash/stack/after_call_test.h"

namespace kestrix {

bool IsRaiseRoutineName(std::string_view name) {
    static constexpr std::array<std::string_view, 4> RaiseRoutines{
        "__cxa_throw", "__cxa_rethrow", "_Unwind_RaiseException", "_Unwind_Resume"};
    return std::find(RaiseRoutines.begin(), RaiseRoutines.end(), name) != RaiseRoutines.end();
}

bool IsRaiseRoutine(const TProcedure& procedure) {
    return IsRaiseRoutineName(procedure.Name);
}

bool TCandidateTest::StartsInstruction(const TFunctionInfo& info, std::uintptr_t address) const {
    for (const TCodeArea& area : info.Areas) {
        if (!area.Contains(address))
            continue;
        for (std::uintptr_t at = area.First; at <= address;) {
            if (at == address)
                return true;
            const auto instruction = m_disassembler.Decode(at);
            if (!instruction)
                return false;
            at = instruction->Next();
        }
    }
    return false;
}

std::optional<TCallSite> TCandidateTest::VerifyPiece(const TProcedure& procedure,
                                                     std::uintptr_t address,
                                                     bool isLocation,
                                                     TRaiseRule raiseRule) const {
    const TFunctionInfo& info = procedure.Info;
    if (!isLocation || (!m_trace.IsOsFault && raiseRule == TRaiseRule::rrApply)) {
        for (const TFunctionCall& call : info.Calls) {
            if (!call.IsCall || call.Next != address)
                continue;
            if (isLocation && !IsRaiseRoutine(m_procedures.ProcedureAt(call.Target)))
                continue;
            return TCallSite{call.Address, true, call.Target};
        }
        if (!isLocation) {
            for (const TUnknownTarget& target : info.UnknownTargets) {
                if (target.IsCall && target.Next == address)
                    return TCallSite{target.Address, false, 0};
            }
        }
    }
    if (isLocation && StartsInstruction(info, address))
        return TCallSite{address, false, 0};
    return std::nullopt;
}

std::optional<TCallSite> TCandidateTest::Verify(TProcedure& procedure,
                                                std::uintptr_t address,
                                                bool isLocation,
                                                TRaiseRule raiseRule) const {
    if (auto site = VerifyPiece(procedure, address, isLocation, raiseRule))
        return site;
    if (!procedure.ExtentEnd)
        return std::nullopt;
    // Copied: analysing a piece adds to the procedure table.
    const auto calls = procedure.Info.Calls;
    for (const TFunctionCall& call : calls) {
        if (call.Target <= procedure.Entry || call.Target >= *procedure.ExtentEnd)
            continue;
        TProcedure& piece = m_procedures.ProcedureAt(call.Target);
        if (piece.Name.empty())
            piece.Name = procedure.Name + ".@label";
        if (auto site = VerifyPiece(piece, address, isLocation, raiseRule))
            return site;
    }
    return std::nullopt;
}

bool TCandidateTest::IsForced(std::uintptr_t value, TCandidateKind kind) const {
    return kind == TCandidateKind::ckCreator || kind == TCandidateKind::ckLocation ||
           (m_trace.IsException && value == m_trace.CurrentAddress);
}

bool TCandidateTest::MayBeItem(std::uintptr_t value, TCandidateKind kind) const {
    // Any other value needs the basic test, which needs readable memory.
    return IsForced(value, kind) || kind == TCandidateKind::ckAnchor ||
           (value > 7 && m_regions.Find(value - 1).has_value());
}

std::optional<TCandidate> TCandidateTest::Test(std::uintptr_t value, TCandidateKind kind) const {
    if (!MayBeItem(value, kind))
        return std::nullopt;
    const auto [tested, isNew] = m_tested.try_emplace({value, kind});
    if (isNew)
        tested->second = TestOnce(value, kind);
    return tested->second;
}

std::optional<TCandidate> TCandidateTest::TestOnce(std::uintptr_t value,
                                                   TCandidateKind kind) const {
    const bool forced = IsForced(value, kind);
    const bool isLocation = forced && kind != TCandidateKind::ckCreator;
    TCandidate candidate;
    candidate.Address = value;
    candidate.Anchor = forced || kind == TCandidateKind::ckAnchor;
    candidate.Location = isLocation;
    std::optional<TDecodedInstruction> forcedInstruction;
    if (forced) {
        forcedInstruction = m_disassembler.Decode(value);
        if (forcedInstruction) {
            candidate.Address = forcedInstruction->Next();
            candidate.Call = TCallSite{value, false, 0};
        }
    }
    const std::uintptr_t examined = forced ? value : value - 1;

    candidate.Module = FindModule(value);
    const bool basic =
        value > 7 && m_regions.Find(examined).has_value() &&
        (forced || PassesAfterCallTest(value)) &&
        (candidate.Module == nullptr || candidate.Module->AcceptsReturnAddress(value));
    bool identified = false;
    if ((basic || forced) && candidate.Module != nullptr && candidate.Module->InCode(examined)) {
        TProcedure* procedure = m_procedures.ProcedureContaining(examined);
        if (procedure != nullptr && !procedure->Invalid) {
            m_procedures.Approve(*procedure);
            // Without debug information the procedure decides only where its code holds the
            // value; elsewhere the basic test does.
            identified = procedure->Module->MapFile != nullptr ||
                         procedure->Info.AreaHoldingReturnAddress(value) != nullptr;
            if (identified) {
                if (const auto site = Verify(*procedure, value, isLocation)) {
                    candidate.Verified = true;
                    candidate.Call = site;
                    candidate.Procedure = procedure;
                    // A call of a raise routine: the location is the return address after it.
                    if (isLocation && site->CodeAddress != value)
                        candidate.Address = value;
                }
            }
        } else if (candidate.Module->MapFile != nullptr) {
            identified = true;  // debug information without a public symbol: not verified
        }
    }
    if (forced && !candidate.Verified) {
        if (!m_trace.IsException || m_trace.IsOsFault)
            candidate.Call = TCallSite{value, false, 0};
        // A jump into unreadable memory: the location stands alone, as a procedure of length 0.
        if (m_trace.IsOsFault && isLocation && !forcedInstruction) {
            TProcedure& empty = m_procedures.ProcedureAt(value);
            candidate.Procedure = &empty;
            candidate.Verified = true;
        }
    }
    const bool accepted =
        forced || candidate.Verified || kind == TCandidateKind::ckAnchor || (basic && !identified);
    if (!accepted)
        return std::nullopt;
    return candidate;
}

}  // namespace kestrix
