// \brief The application object of the window: the one place that every exception escaping an
// event handler reaches. It shows the exception's message, and the window carries on with the state
// the handler reached.
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

    // Shows the message of `failure` in an error box over the active window.
    static void ShowException(const std::exception_ptr& failure);

    // Runs an event handler and shows whatever it raises. Handlers are run through this, so that
    // their exceptions stop at their own boundary: Qt's event delivery is not exception-safe, and
    // unwinding through it leaks the event's data. notify() stays the net for everything else.
    template <typename Handler>
    static void RunHandler(Handler&& handler) {
        try {
            handler();
        } catch (...) {
            ShowException(std::current_exception());
        }
    }
};

}  // namespace gatool
