#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "ui/DialogTemplate.h"

class QComboBox;
class QSize;
class QDialog;
class QWidget;

namespace varnok {

// Builds a Qt dialog from a dialog template: the caption, the template's point size of the
// platform's font (smaller, down to a legible floor, where the window would not fit the free
// area of its screen), the
// client size and every control, converted from dialog units with that
// font's metrics. Controls are created in template order, so Qt's focus chain is the
// template's tab order.
class DialogTemplateBuilder {
public:
    // Makes the widget of a drop-down combo box; the main window's value boxes use their own
    // class. It returns an editable combo box for ControlKind::DropDownCombo.
    using ComboFactory = std::function<QComboBox*(const DialogControlTemplate&, QWidget* parent)>;

    explicit DialogTemplateBuilder(const DialogTemplate& dialogTemplate);

    // The widgets in template order, children of the dialog.
    std::vector<QWidget*> Build(QDialog& dialog, const ComboFactory& makeCombo = {}) const;

    // "control1024" for a control with an id; "control-1-N" for the N-th (template index)
    // control without one, so tests and accessibility tools can find every control.
    static QString ObjectName(int id, int index);

    // Makes a drop-down list or a check box at least as large as its texts need in its own
    // font. The template's size scales with the font, but the style's arrows, indicators and
    // frames keep their pixels, so a font shrunk to fit the screen leaves the texts less room.
    static void WidenToTexts(QWidget& control);

    // The free area of the window's screen less what the window manager's frame takes around
    // the client area; invalid while the window has no screen.
    static QSize Room(const QWidget& window);

private:
    const DialogTemplate& template_;
};

}  // namespace varnok
