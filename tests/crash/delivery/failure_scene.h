// A failure with a report of its own, its settings set for one test, its temporary folder in a
// scratch folder of the test.
#pragma once

#include <cstdlib>
#include <memory>

#include "crash/core/ikx_exception.h"
#include "crash/settings/module_settings.h"
#include "tests/crash/delivery/report_texts.h"
#include "tests/crash/delivery/scratch_folder.h"

namespace kestrix::test {

inline std::shared_ptr<IKXException> FailureWithReport(const std::string& report) {
    auto failure = std::make_shared<IKXException>(ExceptionValues{}, KXSettings());
    failure->SetBugReport(report);
    failure->SetBugRepFile("bugreport.txt");
    failure->SetAppendBugReps(true);
    failure->SetBugRepFileSize(0);
    failure->SetSaveBtnTxt("Save bug report");
    return failure;
}

// XDG_RUNTIME_DIR pointed into the folder while the object lives.
class RuntimeFolderIn {
  public:
    explicit RuntimeFolderIn(const std::filesystem::path& folder) {
        std::filesystem::create_directories(folder / "runtime");
        setenv("XDG_RUNTIME_DIR", (folder / "runtime").c_str(), 1);
    }
    ~RuntimeFolderIn() { unsetenv("XDG_RUNTIME_DIR"); }
    RuntimeFolderIn(const RuntimeFolderIn&) = delete;
    RuntimeFolderIn& operator=(const RuntimeFolderIn&) = delete;
};

}  // namespace kestrix::test
