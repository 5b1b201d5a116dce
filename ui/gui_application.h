// \brief The application object of the window: the one place that every exception escaping an
// event handler reaches. It hands the failure to the crash reporter, and on "continue application"
// the window carries on with the state the handler reached. Without a running reporter (a test of
// the window) it shows the exception's message in an error box instead.
#pragma once

#include <QApplication>
#include <exception>

namespace gatool {

class GuiApplication : public QApplication {
  public:
    // Names the application, gives it gatool's icon and has the font the window asks for drawn in
    // an installed scalable face with its metrics, so that it scales with the screen.
    GuiApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows `failure`: the program's own show-exception routine.
    static void ShowException(const std::exception_ptr& failure);

    // Runs an event handler and reports whatever it raises. Handlers are run through this, so that
    // their exceptions stop at their own boundary: Qt's event delivery is not exception-safe, and
    // unwinding through it leaks the event's data. notify() stays the net for everything else.
    template <typename Handler>
    static void RunHandler(Handler&& handler) {
        try {
            handler();
        } catch (...) {
            HandleEscapedException(std::current_exception(), nullptr);
        }
    }

  private:
    // An exception escaped an event handler of `sender` (none: the handler boundary's own).
    static void HandleEscapedException(const std::exception_ptr& failure, QObject* sender);
    static void ShowInErrorBox(const std::exception_ptr& failure);
};

}  // namespace gatool
