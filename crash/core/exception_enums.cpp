// \brief Names of the failure sources.
#include "crash/core/exception_enums.h"

#include <array>

namespace kestrix {

const char* ExceptSourceName(TExceptSource source) {
    static constexpr std::array<const char*, 19> Names = {"esManual",
                                                          "esAntiFreezeCheck",
                                                          "esBcbAbnormalProgramTermination",
                                                          "esSysUtilsShowException",
                                                          "esApplicationShowException",
                                                          "esApplicationHandleException",
                                                          "esCGI",
                                                          "esISAPI",
                                                          "esHttpExtension",
                                                          "esIntraweb",
                                                          "esTThreadSynchronize",
                                                          "esRuntimeError",
                                                          "esInitializePackage",
                                                          "esExceptProc",
                                                          "esSystemExceptionHandler",
                                                          "esHidden",
                                                          "esThreadFrame",
                                                          "esTThreadExecute",
                                                          "esUnhandledFilter"};
    return source < Names.size() ? Names[source] : "";
}

}  // namespace kestrix
