// \brief The window's application object; see gui_application.h.
#include "ui/gui_application.h"

#include <QMessageBox>

namespace gatool {

GuiApplication::GuiApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("gatool");
    setDesktopFileName("gatool");
}

bool GuiApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowException(std::current_exception());
        return false;
    }
}

void GuiApplication::ShowException(const std::exception_ptr& failure) {
    QString message;
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        message = QString::fromStdString(error.what());
    } catch (...) {
        message = "Unknown failure";
    }
    QMessageBox::critical(activeWindow(), applicationName(), message);
}

}  // namespace gatool
