#pragma once

#include <QEvent>
#include <QLineEdit>
#include <functional>

namespace varnok {

// The edit field of a value box. It is a standard edit field until its combo box takes it
// over (when the field is first painted); from then on it never shows a context menu and
// turns a right-button press into the window's clear-key request. It holds no key data: the
// window's key capture sees every key before it does.
//
// In a chord row the field drops the typed Backspace and "." that reach it (the repeats of a
// held key the capture lets through). In a String row it edits as any text box does. In both it
// asks before it takes an edit the user makes, however it comes (typed, pasted, a middle-click
// paste, dropped, from an input method): a refused edit leaves the text as it was.
class KeyCaptureEdit : public QLineEdit {
    Q_OBJECT

public:
    // Whether the user's edit that turns before into after is taken.
    using EditCheck = std::function<bool(const QString& before, const QString& after)>;

    // The clear-key request (Windows' WM_CLEARKEY): a right press in an attached field posts a
    // QEvent of this type to its window, which then clears the current key slot.
    static QEvent::Type ClearKeyEventType();

    explicit KeyCaptureEdit(QWidget* parent = nullptr);
    ~KeyCaptureEdit() override;

    void Attach() { attached_ = true; }
    void Detach() { attached_ = false; }
    bool IsAttached() const { return attached_; }

    // A String row: typed text, each edit asked of check.
    void TakeTypedText(EditCheck check);
    // A chord row: what the key capture does not take is asked of check.
    void CaptureKeys(EditCheck check);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    class EditValidator;

    bool attached_ = false;
    EditCheck check_;
    bool typedText_ = false;
    // The text before the edit under way: the last one the field showed.
    QString shown_;
    // Set while an input event of the user is handled: only those edits are asked about, the
    // program's own texts are shown as they are.
    bool userInput_ = false;
};

}  // namespace varnok
