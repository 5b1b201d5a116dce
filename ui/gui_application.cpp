// \brief The window's application object; see gui_application.h.
#include "ui/gui_application.h"

#include <QFontDatabase>
#include <QIcon>
#include <QMessageBox>
#include <QWidget>

#include "crash/core/handle_exception.h"

// Registers the icon resource compiled into this static library; the initialiser's declaration in
// Q_INIT_RESOURCE needs the global namespace.
static void InitIconResource() {
    Q_INIT_RESOURCE(icons);
}

namespace gatool {

namespace {

// The window asks for "MS Sans Serif" at 8 points. Debian's fonts-wine ships a face of that name,
// but as bitmaps of three fixed sizes that cannot follow a scale factor: its captions come out in
// tiny glyphs with wide gaps. Its outline Tahoma has nearly the same advance widths at 8 points
// (within a pixel or two over the captions) and scales at every factor; fonts-wine installs it
// where fontconfig does not look. Without it, Liberation Sans (Arial's metrics) stands in. A
// missing file is skipped quietly.
constexpr const char* ScalableFontFile = "/usr/share/wine/fonts/tahoma.ttf";
constexpr const char* WindowFontFamily = "MS Sans Serif";

void UseScalableMetricCompatibleFont() {
    QFontDatabase::addApplicationFont(ScalableFontFile);
    QFont::insertSubstitutions(WindowFontFamily, {"Tahoma", "Liberation Sans"});
}

}  // namespace

GuiApplication::GuiApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("gatool");
    setDesktopFileName("gatool");
    InitIconResource();
    // Drawn by Qt's SVG icon engine (Debian's libqt6svg6); without it the window has no icon.
    setWindowIcon(QIcon(":/icons/gatool.svg"));
    UseScalableMetricCompatibleFont();
}

bool GuiApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleEscapedException(std::current_exception(), receiver);
        return false;
    }
}

void GuiApplication::HandleEscapedException(const std::exception_ptr& failure, QObject* sender) {
    // A drag or a press in progress must not go on behind the failure box.
    if (QWidget* grabber = QWidget::mouseGrabber()) {
        grabber->releaseMouse();
    }
    if (!kestrix::HandleException({.Exception = failure,
                                   .Source = kestrix::esApplicationHandleException,
                                   .RelatedObject = sender})) {
        ShowInErrorBox(failure);
    }
}

void GuiApplication::ShowException(const std::exception_ptr& failure) {
    if (!kestrix::HandleException(
            {.Exception = failure, .Source = kestrix::esApplicationShowException})) {
        ShowInErrorBox(failure);
    }
}

void GuiApplication::ShowInErrorBox(const std::exception_ptr& failure) {
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
