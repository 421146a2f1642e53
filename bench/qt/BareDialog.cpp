// The yardstick for Varnok's start-up: a Qt program that builds a dialog the way Varnok builds
// its main window (the same application setup, caption, window flags, font, fixed size and
// the same widgets with their texts at the same places, taken from the same dialog template)
// and shows it modally, but carries none of Varnok's own work: no skin, no settings store, no
// msmap.dat, no icon, no window behaviour. With --empty the dialog has no widgets at all.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <cmath>
#include <cstring>

#include "ui/DialogTemplate.h"
#include "ui/KeyDialogTemplate.h"

namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QWidget* MakeWidget(varnok::ControlKind kind, const QString& text, QWidget* parent) {
    using enum varnok::ControlKind;
    switch (kind) {
        case PushButton:
            return new QPushButton(text, parent);
        case CheckBox:
            return new QCheckBox(text, parent);
        case GroupBox:
            return new QGroupBox(text, parent);
        case StaticText:
        case Icon: {
            auto* label = new QLabel(text, parent);
            label->setWordWrap(true);
            return label;
        }
        case DropDownCombo:
        case DropDownList: {
            auto* combo = new QComboBox(parent);
            combo->setEditable(kind == DropDownCombo);
            return combo;
        }
        case ProgressBar:
            return new QProgressBar(parent);
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const bool empty = argc > 1 && std::strcmp(argv[1], "--empty") == 0;
    const varnok::DialogTemplate& dialogTemplate = varnok::KeyDialogTemplate();

    QDialog dialog;
    dialog.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint);
    QFont font = QApplication::font();
    font.setPointSize(dialogTemplate.fontPoints);
    dialog.setFont(font);
    dialog.setWindowTitle(Utf8(dialogTemplate.caption));

    // Dialog units: a quarter of the font's average letter width, an eighth of its height.
    const QFontMetrics metrics(font);
    const double unitX = std::round(metrics.horizontalAdvance(
                                        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") /
                                    52.0) /
                         4.0;
    const double unitY = metrics.height() / 8.0;
    auto x = [unitX](int units) { return static_cast<int>(std::lround(units * unitX)); };
    auto y = [unitY](int units) { return static_cast<int>(std::lround(units * unitY)); };
    dialog.setFixedSize(x(dialogTemplate.width), y(dialogTemplate.height));

    if (!empty) {
        for (const varnok::DialogControlTemplate& control : dialogTemplate.controls) {
            QWidget* widget = MakeWidget(control.kind, Utf8(control.text), &dialog);
            QRect area(x(control.x), y(control.y), x(control.width), y(control.height));
            if (qobject_cast<QComboBox*>(widget) != nullptr) {
                area.setHeight(widget->sizeHint().height());
            }
            widget->setGeometry(area);
            widget->setVisible(!control.Has(varnok::ControlStyle::Hidden));
        }
    }
    return dialog.exec();
}
