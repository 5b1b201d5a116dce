// \brief The delivery windows on Qt Widgets.
#include "crash/ui/box_delivery_windows.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QThread>
#include <QVBoxLayout>

#include "crash/delivery/ui/report_clipboard.h"

namespace kestrix {
namespace {

// One line per step, the current one bold.
class SendProgressWindow final : public ISendProgressWindow {
  public:
    SendProgressWindow(const std::string& title,
                       const std::vector<ISendProgressWindow::Step>& steps,
                       QWidget* parent) {
        InGuiThread([&] {
            m_window = new QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint);
            m_window->setWindowTitle(QString::fromStdString(title));
            auto* layout = new QVBoxLayout(m_window);
            for (const Step& step : steps) {
                auto* line = new QLabel(QString::fromStdString(step.Text), m_window);
                line->setEnabled(false);
                layout->addWidget(line);
                m_lines.push_back({step.Stage, line});
            }
            m_window->show();
        });
    }
    ~SendProgressWindow() override {
        InGuiThread([this] { delete m_window; });
    }
    SendProgressWindow(const SendProgressWindow&) = delete;
    SendProgressWindow& operator=(const SendProgressWindow&) = delete;

    void Stage(TSendStage stage) override {
        InGuiThread([&] {
            for (const auto& [lineStage, line] : m_lines) {
                QFont font = line->font();
                font.setBold(lineStage == stage);
                line->setFont(font);
                line->setEnabled(lineStage == stage);
            }
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    }

  private:
    QPointer<QWidget> m_window;
    std::vector<std::pair<TSendStage, QLabel*>> m_lines;
};

}  // namespace

void InGuiThread(const std::function<void()>& call) {
    if (QThread::currentThread() == qApp->thread()) {
        call();
        return;
    }
    QMetaObject::invokeMethod(qApp, call, Qt::BlockingQueuedConnection);
}

std::optional<std::filesystem::path> BoxDeliveryWindows::ChooseSaveFile(
    const std::filesystem::path& folder,
    const std::string& name,
    const std::string& title) {
    std::optional<std::filesystem::path> chosen;
    InGuiThread([&] { chosen = ChooseReportFile(m_box, folder, name, title); });
    return chosen;
}

std::unique_ptr<ISendProgressWindow> BoxDeliveryWindows::OpenSendProgress(
    const std::string& title,
    const std::vector<ISendProgressWindow::Step>& steps) {
    return std::make_unique<SendProgressWindow>(title, steps, m_box);
}

void BoxDeliveryWindows::ShowSendFailure(const std::string& text) {
    InGuiThread([&] {
        QMessageBox::critical(m_box, m_box != nullptr ? m_box->windowTitle() : QString(),
                              QString::fromStdString(text));
    });
}

void BoxDeliveryWindows::FillClipboard(const std::string& text) {
    InGuiThread([&] { kestrix::FillClipboard(text); });
}

}  // namespace kestrix
