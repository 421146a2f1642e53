#pragma once

#include <QComboBox>

namespace varnok {

class cmyedit;

// A value box of the main window: an editable drop-down combo box whose edit field is a
// cmyedit. The box takes its edit field over when the field is first painted, as the Windows
// control subclasses its edit field at the field's first colour request, and gives it back
// when the box is destroyed.
class cmycombx : public QComboBox {
    Q_OBJECT

public:
    explicit cmycombx(QWidget* parent = nullptr);
    ~cmycombx() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    cmyedit* edit_;
};

// The main window's value-box factory: a cmycombx.
QComboBox* MakeKeyCaptureValueBox(QWidget* parent);

}  // namespace varnok
