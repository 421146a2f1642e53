#include "ui/controls/qt/KeyCaptureEdit.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QValidator>
#include <utility>

namespace varnok {

// Every change of the field's text passes its validator before it shows: a refused one is
// undone by the field itself, whichever way it came in.
class KeyCaptureEdit::EditValidator : public QValidator {
public:
    explicit EditValidator(KeyCaptureEdit& edit) : QValidator(&edit), edit_(edit) {}

    State validate(QString& input, int&) const override {
        if (!edit_.userInput_ || !edit_.check_ || input == edit_.shown_) return Acceptable;
        return edit_.check_(edit_.shown_, input) ? Acceptable : Invalid;
    }

private:
    KeyCaptureEdit& edit_;
};

QEvent::Type KeyCaptureEdit::ClearKeyEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

KeyCaptureEdit::KeyCaptureEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { shown_ = text; });
}

KeyCaptureEdit::~KeyCaptureEdit() = default;

void KeyCaptureEdit::TakeTypedText(EditCheck check) {
    check_ = std::move(check);
    typedText_ = true;
    if (validator() == nullptr) setValidator(new EditValidator(*this));
}

void KeyCaptureEdit::CaptureKeys(EditCheck check) {
    check_ = std::move(check);
    typedText_ = false;
    if (validator() == nullptr) setValidator(new EditValidator(*this));
}

bool KeyCaptureEdit::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::InputMethod:
        case QEvent::MouseButtonRelease:  // a middle-button paste
        case QEvent::Drop: {
            const bool outer = std::exchange(userInput_, true);
            const bool handled = QLineEdit::event(event);
            userInput_ = outer;
            return handled;
        }
        default:
            return QLineEdit::event(event);
    }
}

// In a chord row a typed string cannot be shortened: a wrong one is removed whole with a right
// click. Delete is no typed character and keeps its effect.
void KeyCaptureEdit::keyPressEvent(QKeyEvent* event) {
    const bool dropped = event->key() == Qt::Key_Backspace ||
                         event->text() == QLatin1String("\b") ||
                         event->text() == QLatin1String(".");
    if (attached_ && !typedText_ && dropped) {
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
        QCoreApplication::postEvent(window(), new QEvent(ClearKeyEventType()));
    }
    QLineEdit::mousePressEvent(event);
}

}  // namespace varnok
