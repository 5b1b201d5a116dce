// \brief Building and saving the minimal report.
#include "crash/core/minimal_report.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <sstream>

#include "crash/core/private_folder.h"
#include "crash/settings/module_info.h"
#include "crash/stack/stack_trace.h"
#include "crash/threads/thread_registry.h"

namespace kestrix {
namespace {

std::string LocalTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d, %H:%M:%S", &local);
    return text;
}

bool WriteWhole(int descriptor, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t count = write(descriptor, text.data() + done, text.size() - done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(count);
    }
    return true;
}

}  // namespace

std::string CrashedThreadCallStack(const IKXException& exception) {
    TStackTraceParams params;
    params.HideUglyItems = exception.HideUglyItems();
    params.ShowRelAddrs = exception.ShowRelAddrs();
    params.ShowRelLines = exception.ShowRelLines();
    params.IsException = exception.ExceptType() != etFrozen;
    params.IsOsFault = exception.Source() == esSystemExceptionHandler;
    params.TerminateTrace = exception.Source() == esBcbAbnormalProgramTermination;
    if (exception.ExceptAddress() != 0) {
        params.CurrentAddress = exception.ExceptAddress();
    }
    if (const auto& prepared = exception.PreparedStack()) {
        params.PreparedStack = prepared.get();
    } else {
        params.StackBottom = exception.StackPointer();
        params.StackTop = exception.StackTop();
        params.FramePointer = exception.FramePointer();
    }
    return StackTrace(params).Text;
}

std::string BuildMinimalReport(const IKXException& exception) {
    std::ostringstream report;
    report << "date/time          : " << LocalTimeText() << "\r\n"
           << "executable         : " << ApplicationFileName() << "\r\n"
           << "exception source   : " << ExceptSourceName(exception.Source()) << "\r\n"
           << "exception class    : " << exception.ExceptClass() << "\r\n"
           << "exception message  : " << exception.ExceptMessage() << "\r\n"
           << "thread             : " << ThreadDisplayText(exception.CrashedThread()) << "\r\n"
           << "\r\n"
           << "call stack:\r\n"
           << CrashedThreadCallStack(exception) << "\r\n";
    return report.str();
}

std::optional<std::filesystem::path> SaveMinimalReport(IKXException& exception) {
    if (const std::string saved = exception.SavedReportFile(); !saved.empty()) {
        return saved;
    }
    if (exception.BugReport().empty()) {
        exception.SetBugReport(BuildMinimalReport(exception));
    }
    const auto folder = ReportFolder();
    if (!folder) {
        return std::nullopt;
    }
    const std::filesystem::path file = *folder / MinimalReportFileName;
    const int descriptor =
        open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        return std::nullopt;
    }
    const bool written = WriteWhole(descriptor, exception.BugReport() + "\r\n");
    close(descriptor);
    if (!written) {
        return std::nullopt;
    }
    exception.SetSavedReportFile(file.string());
    return file;
}

}  // namespace kestrix
