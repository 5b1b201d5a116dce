// \brief The application object of the benchmarks that need Qt: made once, on Qt's offscreen
// platform unless QT_QPA_PLATFORM names another, so that no display is needed.
#pragma once

#include <QApplication>

namespace gatool {

template <typename Application = QApplication>
Application& OffscreenApplication() {
    static int argc = 1;
    static char name[] = "gatool_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static Application application(argc, argv);
    return application;
}

}  // namespace gatool
