// \brief Answers the message boxes a test provokes: each box that opens while the catcher lives is
// noted (caption, icon, text) and closed with its default button.
#pragma once

#include <QMessageBox>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <vector>

namespace gatool {

struct SeenMessageBox {
    QString Caption;
    QMessageBox::Icon Icon;
    QString Text;
    QPoint Centre;        // of the box on the screen
    QPoint ScreenCentre;  // of the screen's available area
};

class MessageBoxCatcher {
  public:
    MessageBoxCatcher();

    const std::vector<SeenMessageBox>& Seen() const { return m_seen; }

  private:
    QTimer m_timer;
    std::vector<SeenMessageBox> m_seen;
};

}  // namespace gatool
