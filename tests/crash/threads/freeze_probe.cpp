// A GUI program whose GUI thread stops answering as soon as its event loop runs, with the freeze
// watchdog started from its settings as the reporter starts it.
//
//   kestrix_freeze_probe on|off
//
// "on" sets CheckFreeze (FreezeTimeout one second) and blocks the GUI thread for good: the
// watchdog reports the freeze, which prints "frozen" and closes the program with exit code 1.
// "off" leaves CheckFreeze unset and blocks the GUI thread for three seconds, three times the
// time-out; then the program ends with 0.
#include <QGuiApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "crash/settings/module_settings.h"
#include "crash/threads/application_close.h"
#include "crash/threads/freeze_watchdog.h"

int main(int argc, char** argv) {
    if (argc != 2 || (std::strcmp(argv[1], "on") != 0 && std::strcmp(argv[1], "off") != 0)) {
        std::fprintf(stderr, "usage: %s on|off\n", argv[0]);
        return 64;
    }
    QGuiApplication application(argc, argv);
    const auto settings = kestrix::KXSettings();
    settings->SetCheckFreeze(std::strcmp(argv[1], "on") == 0);
    settings->SetFreezeTimeout(1000);
    const kestrix::MainThreadMessenger messenger;
    const auto watchdog = kestrix::StartFreezeWatchdog(*settings, messenger, [] {
        std::printf("frozen\n");
        std::fflush(stdout);
        kestrix::CloseApplication();
    });
    std::printf("%s\n", watchdog ? "watching" : "not watching");
    std::fflush(stdout);
    const bool forGood = settings->CheckFreeze();
    QTimer::singleShot(0, [forGood] {
        do {
            std::this_thread::sleep_for(std::chrono::seconds(3));
        } while (forGood);
        QCoreApplication::quit();
    });
    return QGuiApplication::exec();
}
