// \brief What delivery asks of the windows, behind plain interfaces so that it needs no widgets:
// the save-file dialog, the progress window of a send, the message box of a failed send and the
// clipboard. The failure box implements them; a silent send passes none.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "crash/delivery/routes/send_progress.h"

namespace kestrix {

// A progress window: one step per stage, the current one marked; closed when destroyed.
class ISendProgressWindow : public ISendProgress {
  public:
    struct Step {
        TSendStage Stage;
        std::string Text;
    };
};

class IDeliveryWindows {
  public:
    virtual ~IDeliveryWindows() = default;

    // The save-file dialog: starting in the folder with the name filled in, filter "*.txt", no
    // question about overwriting; none when cancelled.
    virtual std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path& folder,
                                                                const std::string& name,
                                                                const std::string& title) = 0;

    virtual std::unique_ptr<ISendProgressWindow> OpenSendProgress(
        const std::string& title,
        const std::vector<ISendProgressWindow::Step>& steps) = 0;

    // An error message box owned by the failure box.
    virtual void ShowSendFailure(const std::string& text) = 0;

    virtual void FillClipboard(const std::string& text) = 0;
};

}  // namespace kestrix
