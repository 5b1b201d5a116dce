// \brief Global switches of the reporter that a program may set before a failure, with the values
// they have unless it does.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

class QWidget;

namespace kestrix {

// The report header lists the "command line".
extern std::atomic<bool> AddCmdLineToBugRep;
// A program running as a console program gets the message and report as text output.
extern std::atomic<bool> DetectConsole;
// The floating-point environment is reset after a failure has been handled.
extern std::atomic<bool> ResetFpuMode;
// false: the stack walker follows the best-linked chain of frames; true: it lists every candidate.
extern std::atomic<bool> DumbStackTrace;
// Seconds to wait for the answer of an HTTP upload.
extern std::atomic<std::int32_t> HttpUploadTimeout;
// Key code that, with Ctrl+Shift+Alt, opens the details view of the failure box; 0: none.
extern std::atomic<std::int32_t> ShowBugReportKey;

// Called with the failure box's window once it has been built.
extern std::function<void(QWidget* box)> OnExceptBoxCreate;
// Builds the HTML page of a web-server program from the bug report, replacing the built-in page.
extern std::function<std::string(const std::string& bugReport)> BugReportHtml;

}  // namespace kestrix
