#pragma once

#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QWidget>

namespace varnok {

// Closes every menu (a combo box's dropped list is none) or modal box that opens while it lives and
// counts them, so that a context menu or a message box that should not appear fails the test
// instead of blocking it.
class PopupWatch {
public:
    PopupWatch() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Sweep(); });
        timer_.start(10);
    }

    // Closes and counts what is open now; a context menu opens without an event loop of its
    // own, so it is seen at once only this way.
    void Sweep() {
        QWidget* shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (shown == nullptr) shown = QApplication::activeModalWidget();
        if (shown != nullptr) {
            ++count_;
            shown->close();
        }
    }

    int Count() const { return count_; }

private:
    QTimer timer_;
    int count_ = 0;
};

}  // namespace varnok
