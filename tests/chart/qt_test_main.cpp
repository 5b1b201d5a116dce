// \brief The entry of the Qt widget tests (the chart's, the crash reporter's windows and printing):
// they run inside one QApplication, on Qt's offscreen platform unless QT_QPA_PLATFORM names
// another, so that they need no display. The application ends before the program does, ahead of
// Qt's own global objects.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
