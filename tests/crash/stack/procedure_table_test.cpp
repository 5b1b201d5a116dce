// Tests of the module cache, the identification of procedures and the procedure table on this
// program's own code (which carries its debug information) and on the C library.
#include "crash/stack/procedure_table.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "crash/stack/guarded_read.h"

namespace kestrix {
namespace {

[[gnu::noinline]] int Callee(int value) {
    asm volatile("");
    return value * 3;
}
[[gnu::noinline]] int CallsDirectly(int value) {
    return Callee(value) + 1;
}
[[gnu::noinline]] int TailCaller(int value) {
    return Callee(value + 1);
}
[[gnu::noinline]] int Thrower(int value) {
    if (value > 100)
        throw std::runtime_error("too large");
    return value;
}
// Its handler is reached only through the exception table.
[[gnu::noinline]] int CatchesFailure(int value) {
    try {
        return Thrower(value);
    } catch (const std::exception&) {
        return -1;
    }
}

int g_writable = 1;

template <typename T>
std::uintptr_t Address(T* pointer) {
    return reinterpret_cast<std::uintptr_t>(pointer);
}

// A procedure of a loaded library, looked up in the library's own handle: the sanitizer build puts
// interceptors of some names (qsort among them) in front of the libraries.
std::uintptr_t LibraryProcedure(const char* library, const char* name) {
    void* const handle = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) {
        return 0;
    }
    const std::uintptr_t address = Address(dlsym(handle, name));
    dlclose(handle);
    return address;
}

bool CallsTarget(const TProcedure& procedure, std::uintptr_t target, bool isCall) {
    return std::any_of(
        procedure.Info.Calls.begin(), procedure.Info.Calls.end(),
        [&](const TFunctionCall& call) { return call.Target == target && call.IsCall == isCall; });
}

class ProcedureTableTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(StartTryRead()); }

    CodeDisassembler m_disassembler;
    TProcedureTable m_table{m_disassembler};
};

TEST_F(ProcedureTableTest, FindsTheModulesAndTheirRanges) {
    const TModuleEntry* executable = FindModule(Address(&CallsDirectly));
    ASSERT_NE(executable, nullptr);
    EXPECT_TRUE(executable->IsExecutable);
    EXPECT_EQ(executable->FileName, "kestrix_stack_tests");
    EXPECT_TRUE(executable->InCode(Address(&CallsDirectly)));
    EXPECT_TRUE(executable->AcceptsReturnAddress(Address(&g_writable)));
    EXPECT_FALSE(executable->InCode(Address(&g_writable)));
    ASSERT_NE(executable->MapFile, nullptr);
    EXPECT_EQ(FindModule(Address(&TailCaller)), executable);

    const TModuleEntry* library = FindModule(LibraryProcedure("libc.so.6", "qsort"));
    ASSERT_NE(library, nullptr);
    EXPECT_FALSE(library->IsExecutable);
    EXPECT_EQ(library->FileName.rfind("libc.so", 0), 0u) << library->FileName;
    EXPECT_TRUE(library->InCode(LibraryProcedure("libc.so.6", "qsort")));

    int onTheStack = 0;
    EXPECT_EQ(FindModule(Address(&onTheStack)), nullptr);
}

TEST_F(ProcedureTableTest, IdentifiesByDebugInformationAndByTheNearestExport) {
    const auto own = IdentifyProcedure(Address(&CallsDirectly) + 3);
    ASSERT_TRUE(own.has_value());
    EXPECT_EQ(own->Source, TIdentificationSource::isDebugInfo);
    EXPECT_EQ(own->Entry, Address(&CallsDirectly));
    EXPECT_NE(own->Name.find("CallsDirectly"), std::string::npos) << own->Name;
    ASSERT_TRUE(own->ExtentEnd.has_value());
    EXPECT_GT(*own->ExtentEnd, own->Entry + 3);

    const std::uintptr_t qsort = LibraryProcedure("libc.so.6", "qsort");
    const auto library = IdentifyProcedure(qsort + 4);
    ASSERT_TRUE(library.has_value());
    EXPECT_EQ(library->Entry, qsort);
    EXPECT_FALSE(library->Name.empty());

    int onTheStack = 0;
    EXPECT_FALSE(IdentifyProcedure(Address(&onTheStack)).has_value());
}

TEST_F(ProcedureTableTest, AnalysesEachProcedureOnceAndFindsItsCalls) {
    TProcedure* procedure = m_table.ProcedureContaining(Address(&CallsDirectly) + 2);
    ASSERT_NE(procedure, nullptr);
    EXPECT_EQ(procedure->Entry, Address(&CallsDirectly));
    EXPECT_TRUE(procedure->Info.Valid);
    EXPECT_TRUE(CallsTarget(*procedure, Address(&Callee), true));
    for (const TFunctionCall& call : procedure->Info.Calls)
        EXPECT_NE(procedure->Info.AreaHoldingReturnAddress(call.Next), nullptr);

    const std::size_t count = m_table.Procedures().size();
    EXPECT_EQ(m_table.ProcedureContaining(Address(&CallsDirectly) + 1), procedure);
    EXPECT_EQ(&m_table.ProcedureAt(Address(&CallsDirectly)), procedure);
    EXPECT_EQ(m_table.Procedures().size(), count);
}

TEST_F(ProcedureTableTest, ApprovingAProcedureApprovesWhatItJumpsTo) {
    TProcedure& caller = m_table.ProcedureAt(Address(&TailCaller));
    ASSERT_TRUE(CallsTarget(caller, Address(&Callee), false));
    EXPECT_FALSE(caller.Approved);
    m_table.Approve(caller);
    EXPECT_TRUE(caller.Approved);
    const TProcedure* callee = m_table.Find(Address(&Callee));
    ASSERT_NE(callee, nullptr);
    EXPECT_TRUE(callee->Approved);
    EXPECT_NE(callee->Name.find("Callee"), std::string::npos);
}

TEST_F(ProcedureTableTest, TheHandlerOfACatchIsCodeOfItsProcedure) {
    EXPECT_EQ(CatchesFailure(1000) + CatchesFailure(5) + TailCaller(1) + CallsDirectly(1), 14);
    TProcedure* procedure = m_table.ProcedureContaining(Address(&CatchesFailure) + 1);
    ASSERT_NE(procedure, nullptr);
    EXPECT_TRUE(procedure->Info.Valid);
    EXPECT_TRUE(CallsTarget(*procedure, Address(&Thrower), true));
    // The handler begins the catch through the procedure linkage table, directly or from the
    // procedure's cold part that its landing pad jumps to; the analysis records the runtime's own
    // routine.
    const std::uintptr_t beginCatch = LibraryProcedure("libstdc++.so.6", "__cxa_begin_catch");
    bool handlerFound = CallsTarget(*procedure, beginCatch, true);
    const auto calls = procedure->Info.Calls;
    for (const TFunctionCall& call : calls) {
        if (!call.IsCall && CallsTarget(m_table.ProcedureAt(call.Target), beginCatch, true))
            handlerFound = true;
    }
    EXPECT_TRUE(handlerFound);
}

// Memory outside every module: an anonymous mapping, unmapped again at the end.
class AnonymousMapping {
  public:
    AnonymousMapping(std::size_t size, int protection)
        : m_size(size),
          m_start(mmap(nullptr, size, protection, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)) {}
    ~AnonymousMapping() { munmap(m_start, m_size); }
    AnonymousMapping(const AnonymousMapping&) = delete;
    AnonymousMapping& operator=(const AnonymousMapping&) = delete;

    bool Mapped() const { return m_start != MAP_FAILED; }
    std::uintptr_t Start() const { return Address(m_start); }
    std::uintptr_t End() const { return Start() + m_size; }

  private:
    std::size_t m_size;
    void* m_start;
};

TEST_F(ProcedureTableTest, AnalysesCodeOutsideModulesOnlyInsideAnExecutableMapping) {
    // Zero bytes decode as instructions without end: a call target in data must not be decoded.
    const AnonymousMapping data(std::size_t{16} << 20, PROT_READ | PROT_WRITE);
    ASSERT_TRUE(data.Mapped());
    const TProcedure& inData = m_table.ProcedureAt(data.Start() + 0x100);
    EXPECT_FALSE(inData.Info.Valid);
    EXPECT_TRUE(inData.Info.Areas.empty());
    EXPECT_EQ(inData.Info.ErrorText, InvalidCodeText);

    // Generated code: its analysis stops at the mapping's end, here inside zero bytes.
    const AnonymousMapping code(std::size_t{64} << 10, PROT_READ | PROT_EXEC);
    ASSERT_TRUE(code.Mapped());
    const TProcedure& generated = m_table.ProcedureAt(code.Start());
    ASSERT_FALSE(generated.Info.Areas.empty());
    EXPECT_LE(generated.Info.Areas.back().Last, code.End());
}

}  // namespace
}  // namespace kestrix
