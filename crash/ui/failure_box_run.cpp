// \brief Each box in a local event loop.
#include "crash/ui/failure_box_run.h"

#include <QApplication>
#include <QEventLoop>

#include "crash/core/reporter_runtime.h"
#include "crash/settings/exported_switches.h"
#include "crash/ui/small_failure_box.h"

namespace kestrix {
namespace {

void RunToFinish(QDialog& box) {
    QEventLoop loop;
    QObject::connect(&box, &QDialog::finished, &loop, &QEventLoop::quit);
    box.show();
    if (OnExceptBoxCreate) {
        OnExceptBoxCreate(&box);
    }
    loop.exec();
}

}  // namespace

TExceptAction RunFailureBox(FailureBoxContent content, const FailureBoxServices& services) {
    const ReporterWindowScope windowScope;
    QApplication::beep();
    if (content.Mode == ssDetailBox || content.Mode == ssSimpleBox) {
        SmallFailureBox small(content);
        RunToFinish(small);
        if (small.Outcome()) {
            return *small.Outcome();
        }
        content.Mode = ssFullBox;
        content.DetailsOpen = true;
        if (content.Automatic) {
            content.FocusedButton = bSaveBugReport;
        }
        content.Automatic.reset();
    }
    FullFailureBox box(content, services);
    RunToFinish(box);
    return box.Outcome().value_or(eaContinueApplication);
}

}  // namespace kestrix
