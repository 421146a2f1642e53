#pragma once

#include <QComboBox>

namespace varnok {

class KeyCaptureEdit;

// A value box of the main window: an editable drop-down combo box whose edit field is a
// KeyCaptureEdit. The box takes its edit field over when the field is first painted, as the Windows
// control subclasses its edit field at the field's first colour request, and gives it back
// when the box is destroyed.
class KeyCaptureComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit KeyCaptureComboBox(QWidget* parent = nullptr);
    ~KeyCaptureComboBox() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeyCaptureEdit* edit_;
};

// The main window's value-box factory: a KeyCaptureComboBox.
QComboBox* MakeKeyCaptureValueBox(QWidget* parent);

}  // namespace varnok
