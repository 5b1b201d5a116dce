// \brief The enumerations of failure handling: what kind of failure, where it was caught, the
// phases a failure runs through, the outcomes and actions, how handlers synchronise, and how a
// failure is shown.
#pragma once

#include <cstdint>

namespace kestrix {

enum TExceptType : std::uint8_t { etNormal, etFrozen, etHidden };

enum TExceptSource : std::uint8_t {
    esManual,
    esAntiFreezeCheck,
    esBcbAbnormalProgramTermination,
    esSysUtilsShowException,
    esApplicationShowException,
    esApplicationHandleException,
    esCGI,
    esISAPI,
    esHttpExtension,
    esIntraweb,
    esTThreadSynchronize,
    esRuntimeError,
    esInitializePackage,
    esExceptProc,
    esSystemExceptionHandler,
    esHidden,
    esThreadFrame,
    esTThreadExecute,
    esUnhandledFilter
};

enum TExceptPhase : std::uint8_t {
    epNotHandledYet,
    epQuickFiltering,
    epMainPhase,
    epPostProcessing,
    epCompleteReport
};

enum TExceptAction : std::uint8_t {
    eaSendBugReport,
    eaSaveBugReport,
    eaPrintBugReport,
    eaShowBugReport,
    eaContinueApplication,
    eaRestartApplication,
    eaCloseApplication
};

enum TSyncType : std::uint8_t { stDontSync, stTrySyncCallOnSuccess, stTrySyncCallAlways };

enum TKXShowSetting : std::uint8_t { ssFullBox, ssAssistant, ssDetailBox, ssSimpleBox, ssNothing };

enum TKXDupDef : std::uint8_t {
    ddExceptAddrIdentical,
    ddCrashStackIdentical,
    ddAllStacksIdentical
};

// The source's name as the code writes it ("esManual" ...).
const char* ExceptSourceName(TExceptSource source);

}  // namespace kestrix
