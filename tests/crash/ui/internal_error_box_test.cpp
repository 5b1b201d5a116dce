// The reporter's own error messages reach a box titled "Kestrix" with their exact text when the
// main thread runs windows, and the reporter's failures meanwhile wait for the box.
#include "crash/ui/internal_error_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <optional>

#include "crash/core/reporter_runtime.h"
#include "crash/settings/internal_error.h"

namespace kestrix {
namespace {

struct SeenBox {
    QString Title;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    bool ReporterWindowOpen = false;
};

// Notes the first box that comes up and presses its OK button.
class BoxAnswerer {
  public:
    BoxAnswerer() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            m_seen = {box->windowTitle(), box->text(), box->icon(), ReporterWindowOpen()};
            m_timer.stop();
            box->button(QMessageBox::Ok)->click();
        });
        m_timer.start(10);
    }
    const std::optional<SeenBox>& Seen() const { return m_seen; }

  private:
    QTimer m_timer;
    std::optional<SeenBox> m_seen;
};

TEST(InternalErrorBox, ShowsTheReportersMessageInABoxTitledKestrix) {
    const InternalErrorPresenter previous = SetInternalErrorPresenter(&ShowInternalErrorBox);
    const BoxAnswerer answerer;
    ShowInternalError("Internal error: Invalid settings resource ($1F).");
    SetInternalErrorPresenter(previous);
    ASSERT_TRUE(answerer.Seen().has_value());
    EXPECT_EQ(answerer.Seen()->Title, "Kestrix");
    EXPECT_EQ(answerer.Seen()->Text, "Internal error: Invalid settings resource ($1F).");
    EXPECT_EQ(answerer.Seen()->Icon, QMessageBox::Critical);
    EXPECT_TRUE(answerer.Seen()->ReporterWindowOpen);
    EXPECT_FALSE(ReporterWindowOpen());
}

}  // namespace
}  // namespace kestrix
