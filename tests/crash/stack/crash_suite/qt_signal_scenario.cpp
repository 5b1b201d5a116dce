// \brief The scenario of a call through a Qt signal and slot: the slot is reached through Qt's
// signal activation, whose frames lie between the slot and the emitting code.
#include <QObject>
#include <QString>

#include "tests/crash/stack/crash_suite/probe_point.h"
#include "tests/crash/stack/crash_suite/scenarios.h"

namespace crash_suite {
namespace {

class NameWatcher : public QObject {
  public:
    [[gnu::noinline]] void OnNameChanged(const QString& name) {
        if (!name.isEmpty())
            suite_probe::ProbePoint();
        CallsMade = CallsMade + 1;
    }
};

[[gnu::noinline]] void RenameWatched(QObject& watched) {
    watched.setObjectName(QStringLiteral("renamed"));
    CallsMade = CallsMade + 1;
}

}  // namespace

void QtSignalSlot() {
    QObject watched;
    NameWatcher watcher;
    QObject::connect(&watched, &QObject::objectNameChanged, &watcher, &NameWatcher::OnNameChanged);
    RenameWatched(watched);
}

}  // namespace crash_suite
