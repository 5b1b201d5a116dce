// The one Qt application object of a test executable, created on first use in the main thread.
#pragma once

#include <QCoreApplication>

namespace kestrix {

inline void EnsureCoreApplication() {
    static int argc = 1;
    static char name[] = "kestrix_threads_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

}  // namespace kestrix
