// \brief Where the internal error box runs.
#include "crash/ui/internal_error_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <string>

#include "crash/core/reporter_runtime.h"
#include "crash/settings/internal_error.h"
#include "crash/ui/helper_box_process.h"

namespace kestrix {
namespace {

// The helper's exit code once the box has been shown and closed.
constexpr int BoxShownExit = 100;

bool MainThreadRunsWindows() {
    return !QCoreApplication::startingUp() && qobject_cast<QApplication*>(qApp) != nullptr &&
           QThread::currentThread() == qApp->thread();
}

void RunBox(const QString& title, const QString& text) {
    const ReporterWindowScope windowScope;
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok);
    box.exec();
}

}  // namespace

void ShowInternalErrorBox(std::string_view title, std::string_view text) {
    if (MainThreadRunsWindows()) {
        RunBox(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
               QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        return;
    }
    if (RunHelperProcess({InternalErrorBoxArgument, std::string(title), std::string(text)}) !=
        BoxShownExit) {
        WriteInternalError(title, text);
    }
}

std::optional<int> RunInternalErrorBoxIfAsked(int argc, char** argv) {
    if (argc != 4 || std::string(argv[1]) != InternalErrorBoxArgument) {
        return std::nullopt;
    }
    int qtArgumentCount = 1;
    QApplication application(qtArgumentCount, argv);
    RunBox(QString::fromUtf8(argv[2]), QString::fromUtf8(argv[3]));
    return BoxShownExit;
}

}  // namespace kestrix
