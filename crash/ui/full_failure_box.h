// \brief The full failure box: title, message beside the large picture, the seven buttons in their
// row and column, the automatic button filling up over its delay, the details view below the
// buttons, and the close rule for the title bar, Alt+F4 and Esc. Not modal: the program's windows
// keep working while it is up.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "crash/ui/failure_box_content.h"

class QGridLayout;

namespace kestrix {

class DetailsView;
class PictureButton;

// What the box asks of its owner: the report for the details view; whether an action handler
// cancels a report button's action (send, save, print, show); and the send, save and print, which
// answer whether the save button has done its work and leaves the box. Each may be empty.
struct FailureBoxServices {
    std::function<std::string()> ReportText;
    std::function<bool(TExceptAction action, QWidget* box)> ActionHandled;
    std::function<bool(TExceptAction action, QWidget* box)> RunReportAction;
};

class FullFailureBox : public QDialog {
  public:
    FullFailureBox(const FailureBoxContent& content, FailureBoxServices services);
    ~FullFailureBox() override;

    // The chosen outcome once the box has been closed: continue, restart or close.
    std::optional<TExceptAction> Outcome() const { return m_outcome; }

    PictureButton* Button(TKXButton button) const { return m_buttons[button]; }
    DetailsView* Details() const { return m_details; }
    void OpenDetails();

    // Esc, the title bar's button and Alt+F4 end up here.
    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void Press(TKXButton button);
    void Finish(TExceptAction outcome);
    void AdvanceAutomatic();
    void RefreshDetails();
    void FitSize();

    FailureBoxContent m_content;
    FailureBoxServices m_services;
    std::array<PictureButton*, ButtonCount> m_buttons{};
    QGridLayout* m_layout = nullptr;
    DetailsView* m_details = nullptr;
    QTimer m_automaticTimer;
    QElapsedTimer m_automaticClock;
    QTimer m_reportTimer;
    int m_plainHeight = 0;
    std::optional<TExceptAction> m_outcome;
};

}  // namespace kestrix
