// \brief The exported switches and their initial values.
#include "crash/settings/exported_switches.h"

namespace kestrix {

std::atomic<bool> AddCmdLineToBugRep{true};
std::atomic<bool> DetectConsole{true};
std::atomic<bool> ResetFpuMode{false};
std::atomic<bool> DumbStackTrace{false};
std::atomic<std::int32_t> HttpUploadTimeout{7};
std::atomic<std::int32_t> ShowBugReportKey{0};

std::function<void(QWidget* box)> OnExceptBoxCreate;
std::function<std::string(const std::string& bugReport)> BugReportHtml;

}  // namespace kestrix
