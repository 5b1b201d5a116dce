// \brief Answering message boxes in tests; see message_box_catcher.h.
#include "message_box_catcher.h"

#include <QApplication>
#include <QScreen>

namespace gatool {

MessageBoxCatcher::MessageBoxCatcher() {
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            m_seen.push_back({box->windowTitle(), box->icon(), box->text(),
                              box->frameGeometry().center(),
                              box->screen()->availableGeometry().center()});
            box->accept();
        }
    });
    m_timer.start();
}

}  // namespace gatool
