// \brief The stand-in box on QMessageBox with a local event loop.
#include "crash/ui/stand_in_failure_box.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <map>

#include "crash/core/reporter_runtime.h"
#include "crash/settings/exported_switches.h"

namespace kestrix {
namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString InformativeText(const FailureBoxContent& content) {
    QString text = Text(content.Failure);
    if (!content.ReportFile.empty()) {
        text += "\n\nThe bug report was saved to " + Text(content.ReportFile) + ".";
    }
    return text;
}

}  // namespace

TExceptAction RunStandInFailureBox(const FailureBoxContent& content) {
    const ReporterWindowScope windowScope;
    QMessageBox box(QMessageBox::Critical, Text(content.Title), Text(content.Text));
    box.setInformativeText(InformativeText(content));
    box.setWindowModality(Qt::NonModal);
    std::map<QAbstractButton*, TExceptAction> actions;
    if (content.CanContinue) {
        actions[box.addButton(Text(content.ContinueText), QMessageBox::AcceptRole)] =
            eaContinueApplication;
    }
    actions[box.addButton(Text(content.RestartText), QMessageBox::ActionRole)] =
        eaRestartApplication;
    actions[box.addButton(Text(content.CloseText), QMessageBox::RejectRole)] = eaCloseApplication;

    TExceptAction chosen = content.CanContinue ? eaContinueApplication : eaCloseApplication;
    QEventLoop loop;
    QObject::connect(&box, &QMessageBox::buttonClicked, &loop, [&](QAbstractButton* button) {
        chosen = actions.at(button);
        loop.quit();
    });
    // Closing the box by its frame counts as its default choice.
    QObject::connect(&box, &QMessageBox::finished, &loop, [&] { loop.quit(); });
    QTimer automatic;
    if (content.Automatic && content.DelaySeconds > 0) {
        for (const auto& [button, action] : actions) {
            if (action == *content.Automatic) {
                box.setDefaultButton(static_cast<QPushButton*>(button));
                automatic.setSingleShot(true);
                QObject::connect(&automatic, &QTimer::timeout, button, &QAbstractButton::click);
                automatic.start(content.DelaySeconds * 1000);
            }
        }
    }
    box.show();
    if (OnExceptBoxCreate) {
        OnExceptBoxCreate(&box);
    }
    loop.exec();
    return chosen;
}

}  // namespace kestrix
