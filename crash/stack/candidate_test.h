// \brief The candidate test of the stack walker: whether a value read from the stack (or the
// failure location, or the thread's creation address) becomes a stack item, with the call
// instruction in front of it and the procedure that holds that call.
//
// A value passes the basic test when the address examined lies in readable memory, the value is
// above 7, is forced or passes the after-call test, and lies in no module or inside its module's
// code or data range. In a module's code, the procedure that contains it (by debug information,
// or by a shared library's nearest dynamic symbol) must verify it: a call of the procedure's
// analysis ends exactly at the value. The failure location instead must start an instruction of
// the procedure, or directly follow a call of a routine that raises an exception.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <utility>

#include "crash/stack/code_disassembler.h"
#include "crash/stack/memory_regions.h"
#include "crash/stack/procedure_table.h"

namespace kestrix {

enum class TCandidateKind {
    ckSlot,      // a value read from a stack slot
    ckAnchor,    // a value from a frame-chain slot or flagged in the prepared stack
    ckCreator,   // the thread's creation address
    ckLocation,  // the failure location (the current address)
};

struct TTraceKind {
    bool IsException = false;
    bool IsOsFault = false;
    std::uintptr_t CurrentAddress = 0;
};

// The call in front of a return address as a procedure's analysis knows it.
struct TCallSite {
    std::uintptr_t CodeAddress = 0;
    bool TargetKnown = false;
    std::uintptr_t Target = 0;
};

// Whether the failure location may follow a call of a raise routine (the candidate test's rule),
// or must start an instruction.
enum class TRaiseRule { rrApply, rrIgnore };

struct TCandidate {
    // A return address; for a forced value the address after its instruction.
    std::uintptr_t Address = 0;
    const TModuleEntry* Module = nullptr;
    bool Anchor = false;
    bool Location = false;
    bool Verified = false;
    // The call in front of Address (or the failing instruction), when one was found.
    std::optional<TCallSite> Call;
    TProcedure* Procedure = nullptr;  // the procedure that holds it
};

// The routines that raise an exception on this runtime.
bool IsRaiseRoutineName(std::string_view name);
bool IsRaiseRoutine(const TProcedure& procedure);

class TCandidateTest {
  public:
    TCandidateTest(TProcedureTable& procedures,
                   const CodeDisassembler& disassembler,
                   const TMemoryRegions& regions,
                   const TTraceKind& trace)
        : m_procedures(procedures),
          m_disassembler(disassembler),
          m_regions(regions),
          m_trace(trace) {}

    // The item the value gives, or none when it is not one. While one trace collects its
    // candidates the result depends on the value and its kind alone: it is kept, so that the
    // hundred thousand copies of a recursion's return address are tested once.
    std::optional<TCandidate> Test(std::uintptr_t value, TCandidateKind kind) const;

    // Verifies a return address (or, for the location, the failing address) against the
    // procedure: the call of its analysis that ends at it, or for the location the raise-routine
    // call in front of it or the instruction it starts. Tries the procedure's further pieces (the
    // targets of its calls inside its own extent) when the procedure itself does not verify it.
    std::optional<TCallSite> Verify(TProcedure& procedure,
                                    std::uintptr_t address,
                                    bool isLocation,
                                    TRaiseRule raiseRule = TRaiseRule::rrApply) const;

  private:
    bool IsForced(std::uintptr_t value, TCandidateKind kind) const;
    // Whether the value can become an item at all: forced, an anchor, or in readable memory. The
    // rest of an overflowed stack's slots, numbers below every mapping, end here untested and
    // unkept.
    bool MayBeItem(std::uintptr_t value, TCandidateKind kind) const;
    std::optional<TCandidate> TestOnce(std::uintptr_t value, TCandidateKind kind) const;
    std::optional<TCallSite> VerifyPiece(const TProcedure& procedure,
                                         std::uintptr_t address,
                                         bool isLocation,
                                         TRaiseRule raiseRule) const;
    bool StartsInstruction(const TFunctionInfo& info, std::uintptr_t address) const;

    TProcedureTable& m_procedures;
    const CodeDisassembler& m_disassembler;
    const TMemoryRegions& m_regions;
    const TTraceKind m_trace;
    mutable std::map<std::pair<std::uintptr_t, TCandidateKind>, std::optional<TCandidate>> m_tested;
};

}  // namespace kestrix
