// Delivery's windows as a recorder: the dialog answers with a set file (or a cancel), the
// progress window and the messages are written down.
#pragma once

#include <mutex>

#include "crash/delivery/delivery_windows.h"

namespace kestrix::test {

class RecordingWindows final : public IDeliveryWindows {
  public:
    std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path& folder,
                                                        const std::string& name,
                                                        const std::string& title) override {
        const std::lock_guard lock(m_guard);
        Dialogs.push_back(folder.string() + "|" + name + "|" + title);
        return Choice;
    }

    std::unique_ptr<ISendProgressWindow> OpenSendProgress(
        const std::string& title,
        const std::vector<ISendProgressWindow::Step>& steps) override {
        const std::lock_guard lock(m_guard);
        ProgressTitle = title;
        ProgressSteps = steps;
        return std::make_unique<Progress>(*this);
    }

    void ShowSendFailure(const std::string& text) override {
        const std::lock_guard lock(m_guard);
        Failures.push_back(text);
    }

    void FillClipboard(const std::string& text) override {
        const std::lock_guard lock(m_guard);
        Clipboard = text;
    }

    std::optional<std::filesystem::path> Choice;
    std::vector<std::string> Dialogs;
    std::string ProgressTitle;
    std::vector<ISendProgressWindow::Step> ProgressSteps;
    std::vector<TSendStage> Stages;
    bool ProgressOpen = false;
    std::vector<std::string> Failures;
    std::string Clipboard;

  private:
    class Progress final : public ISendProgressWindow {
      public:
        explicit Progress(RecordingWindows& owner) : m_owner(owner) { m_owner.ProgressOpen = true; }
        ~Progress() override { m_owner.ProgressOpen = false; }
        void Stage(TSendStage stage) override {
            const std::lock_guard lock(m_owner.m_guard);
            m_owner.Stages.push_back(stage);
        }

      private:
        RecordingWindows& m_owner;
    };

    std::mutex m_guard;
};

}  // namespace kestrix::test
