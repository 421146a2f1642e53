#include "ui/controls/qt/KeyCaptureEdit.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "ui/qt/QtMainWindow.h"

namespace varnok {

KeyCaptureEdit::KeyCaptureEdit(QWidget* parent) : QLineEdit(parent) {}

// A typed string cannot be shortened: a wrong one is removed whole with a right click. Delete
// is no typed character and keeps its effect.
void KeyCaptureEdit::keyPressEvent(QKeyEvent* event) {
    const bool dropped = event->key() == Qt::Key_Backspace ||
                         event->text() == QLatin1String("\b") ||
                         event->text() == QLatin1String(".");
    if (attached_ && dropped) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// A right click deletes the slot's definition; an edit menu (Undo, Cut, Paste, ...) would
// offer something else on the same click.
void KeyCaptureEdit::contextMenuEvent(QContextMenuEvent* event) {
    if (attached_) {
        event->accept();
        return;
    }
    QLineEdit::contextMenuEvent(event);
}

// Posted, not sent: the window clears its current slot only after this press has moved the
// focus, so the slot cleared is the one clicked into.
void KeyCaptureEdit::mousePressEvent(QMouseEvent* event) {
    if (attached_ && event->button() == Qt::RightButton) {
        QCoreApplication::postEvent(window(), new QEvent(QtMainWindow::ClearKeyEventType()));
    }
    QLineEdit::mousePressEvent(event);
}

}  // namespace varnok
