// \brief The entry of the window's tests: they run inside the window's application object, so that
// failures escaping a handler reach its exception display, on Qt's offscreen platform unless
// QT_QPA_PLATFORM names another.
#include <gtest/gtest.h>

#include "numtext/number_marks.h"
#include "ui/gui_application.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    gatool::GuiApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
