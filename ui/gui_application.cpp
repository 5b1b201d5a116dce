// \brief The window's application object; see gui_application.h.
#include "ui/gui_application.h"

#include <QFontDatabase>
#include <QIcon>
#include <QMessageBox>
#include <array>

// Registers the icon resource compiled into this static library; the initialiser's declaration in
// Q_INIT_RESOURCE needs the global namespace.
static void InitIconResource() {
    Q_INIT_RESOURCE(icons);
}

namespace gatool {

namespace {

// A free face with the metrics of "MS Sans Serif", which the window asks for. Debian's fonts-wine
// installs it where fontconfig does not look; without it the name falls back to DejaVu Sans, which
// is wider and clips the captions. A missing file is skipped quietly.
constexpr std::array MetricCompatibleFontFiles = {
    "/usr/share/wine/fonts/ms_sans_serif.ttf",
};

void AddMetricCompatibleFonts() {
    for (const char* file : MetricCompatibleFontFiles) {
        QFontDatabase::addApplicationFont(file);
    }
}

}  // namespace

GuiApplication::GuiApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("gatool");
    setDesktopFileName("gatool");
    InitIconResource();
    // Drawn by Qt's SVG icon engine (Debian's libqt6svg6); without it the window has no icon.
    setWindowIcon(QIcon(":/icons/gatool.svg"));
    AddMetricCompatibleFonts();
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
