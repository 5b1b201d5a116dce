// \brief The windows that delivery asks for, owned by the failure box: the save-file dialog, the
// send's progress window, the message box of a failed send and the clipboard. A send in the
// background calls them from its own thread; they run in the GUI thread all the same.
#pragma once

#include <QPointer>
#include <QWidget>

#include "crash/delivery/delivery_windows.h"

namespace kestrix {

class BoxDeliveryWindows final : public IDeliveryWindows {
  public:
    explicit BoxDeliveryWindows(QWidget* box) : m_box(box) {}

    std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path& folder,
                                                        const std::string& name,
                                                        const std::string& title) override;
    std::unique_ptr<ISendProgressWindow> OpenSendProgress(
        const std::string& title,
        const std::vector<ISendProgressWindow::Step>& steps) override;
    void ShowSendFailure(const std::string& text) override;
    void FillClipboard(const std::string& text) override;

  private:
    QPointer<QWidget> m_box;  // gone once the box has closed
};

// Runs the call in the GUI thread and waits for it.
void InGuiThread(const std::function<void()>& call);

}  // namespace kestrix
