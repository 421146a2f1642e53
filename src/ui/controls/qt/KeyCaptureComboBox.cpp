#include "ui/controls/qt/KeyCaptureComboBox.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QMouseEvent>

#include "ui/controls/qt/KeyCaptureEdit.h"

namespace varnok {

namespace {

bool IsRightButtonEvent(const QEvent& event) {
    switch (event.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return static_cast<const QMouseEvent&>(event).button() == Qt::RightButton;
        default:
            return false;
    }
}

}  // namespace

KeyCaptureComboBox::KeyCaptureComboBox(QWidget* parent)
    : QComboBox(parent), edit_(new KeyCaptureEdit(this)) {
    setLineEdit(edit_);
    // A typed text is the row's value, never a new list item nor completed into one.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    edit_->installEventFilter(this);
    view()->viewport()->installEventFilter(this);
}

// The box is gone before its children: its edit field ends as a standard one.
KeyCaptureComboBox::~KeyCaptureComboBox() {
    edit_->Detach();
}

bool KeyCaptureComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::Paint) {
        edit_->removeEventFilter(this);
        edit_->Attach();
    }
    // Qt's dropped list picks the item under any button; a Windows list picks with the left
    // button only, and a right click there must not replace the slot's definition.
    if (watched == view()->viewport() && IsRightButtonEvent(*event)) return true;
    return QComboBox::eventFilter(watched, event);
}

QComboBox* MakeKeyCaptureValueBox(QWidget* parent) {
    return new KeyCaptureComboBox(parent);
}

}  // namespace varnok
