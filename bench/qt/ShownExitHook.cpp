// Preloaded into a Qt program (LD_PRELOAD), this ends the process as soon as its first
// top-level window is on screen: exposed and painted for the first time. The process's run
// time is then its start-up time, measured from outside with any process timer, and the
// program under test needs no option or code of its own for it.
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <cstdio>

namespace {

class ExitWhenShown : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && watched->isWindowType()) {
            // The filter sees the expose before the window does; the first paint happens
            // while the window handles it, so the exit waits for the event loop's next turn.
            QPointer<QWindow> window = static_cast<QWindow*>(watched);
            QTimer::singleShot(0, [window] {
                if (window == nullptr || !window->isExposed() || !window->isTopLevel()) return;
                std::fprintf(stderr, "shown %dx%d \"%s\"\n", window->width(), window->height(),
                             window->title().toUtf8().constData());
                std::fflush(stderr);
                ::_exit(0);
            });
        }
        return false;
    }
};

// Runs while the application object is being constructed, before the program's main goes on.
void InstallExitWhenShown() {
    QCoreApplication::instance()->installEventFilter(new ExitWhenShown);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallExitWhenShown)
