#pragma once

#include <QLineEdit>

namespace varnok {

// The edit field of a value box. It is a standard edit field until its combo box takes it
// over (when the field is first painted); from then on it drops typed Backspace and ".", never
// shows a context menu, and turns a right-button press into the window's clear-key request.
// It holds no key data: the window's key capture sees every key before it does.
class KeyCaptureEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit KeyCaptureEdit(QWidget* parent = nullptr);

    void Attach() { attached_ = true; }
    void Detach() { attached_ = false; }
    bool IsAttached() const { return attached_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool attached_ = false;
};

}  // namespace varnok
