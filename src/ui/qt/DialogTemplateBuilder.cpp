#include "ui/qt/DialogTemplateBuilder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

#include "ui/qt/DialogUnitScale.h"
#include "ui/qt/ProgramIcon.h"

namespace varnok {

namespace {

// What the window manager's title bar and frame take around the window's client area.
const QSize kFrameAllowance(16, 48);
// Below this the texts would no longer be legible; a window that still does not fit then
// scrolls its rows (see ScrollingRows).
constexpr qreal kSmallestPoints = 6;

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QWidget* MakeWidget(const DialogControlTemplate& control, QWidget* parent,
                    const DialogTemplateBuilder::ComboFactory& makeCombo) {
    QString text = Utf8(control.text);
    switch (control.kind) {
        case ControlKind::PushButton: {
            auto* button = new QPushButton(parent);
            // Buttons show "&" as typed; no control of these windows has a mnemonic.
            button->setText(text);
            button->setAutoDefault(false);
            button->setDefault(control.Has(ControlStyle::DefaultButton));
            return button;
        }
        case ControlKind::CheckBox:
            return new QCheckBox(text, parent);
        case ControlKind::GroupBox:
            return new QGroupBox(text, parent);
        case ControlKind::StaticText: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setText(text);
            return label;
        }
        case ControlKind::Icon: {
            auto* label = new QLabel(parent);
            label->setPixmap(ProgramIcon().pixmap(32, 32));
            return label;
        }
        case ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(parent);
            bar->setTextVisible(false);
            return bar;
        }
        case ControlKind::DropDownCombo:
        case ControlKind::DropDownList: {
            bool editable = control.kind == ControlKind::DropDownCombo;
            QComboBox* combo = editable && makeCombo ? makeCombo(control, parent) : nullptr;
            if (combo == nullptr) {
                combo = new QComboBox(parent);
                combo->setEditable(editable);
            }
            if (combo->isEditable()) {
                // A Windows combo box neither adds typed texts to its list nor completes them.
                combo->setInsertPolicy(QComboBox::NoInsert);
                combo->setCompleter(nullptr);
            }
            return combo;
        }
    }
    return nullptr;
}

}  // namespace

DialogTemplateBuilder::DialogTemplateBuilder(const DialogTemplate& dialogTemplate)
    : template_(dialogTemplate) {}

QString DialogTemplateBuilder::ObjectName(int id, int index) {
    return id == -1 ? QStringLiteral("control-1-%1").arg(index)
                    : QStringLiteral("control%1").arg(id);
}

QSize DialogTemplateBuilder::Room(const QWidget& window) {
    const QScreen* screen = window.screen();
    return screen != nullptr ? screen->availableGeometry().size() - kFrameAllowance : QSize();
}

void DialogTemplateBuilder::WidenToTexts(QWidget& control) {
    // The style sets its margins and the font when it polishes the control.
    control.ensurePolished();
    QSize needed;
    auto* combo = qobject_cast<QComboBox*>(&control);
    if (combo != nullptr && !combo->isEditable()) {
        // The style's size around the widest item: its arrow, frame and margins. A list's own
        // size hint may be kept from before its items changed (a language switch), so it
        // counts only beside the measure of the items it has now.
        const QFontMetrics metrics(combo->font());
        int widest = 0;
        for (int i = 0; i < combo->count(); ++i)
            widest = std::max(widest, metrics.boundingRect(combo->itemText(i)).width());
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.frame = combo->hasFrame();
        needed = combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option,
                                                  QSize(widest, metrics.height()), combo);
    } else if (qobject_cast<QCheckBox*>(&control) != nullptr) {
        // Its indicator, the spacing and the text.
        needed = control.sizeHint();
    } else {
        // A value box shows chords of any length and scrolls its text like any entry field.
        return;
    }
    control.resize(control.size().expandedTo(needed));
}

std::vector<QWidget*> DialogTemplateBuilder::Build(QDialog& dialog,
                                                   const ComboFactory& makeCombo) const {
    // The template names a face no system has; the platform's own face at the template's size
    // stands in, and the Chinese texts fall back to a CJK face through the font system.
    QFont font = QApplication::font();
    font.setPointSize(template_.fontPoints);
    // Dialog units follow the font: where the window would not fit the screen's free area, a
    // smaller font makes every control smaller alike, and the window keeps its proportions.
    const QSize room = Room(dialog);
    DialogUnitScale scale(font);
    for (qreal points = template_.fontPoints; room.isValid() && points > kSmallestPoints;) {
        if (scale.X(template_.width) <= room.width() && scale.Y(template_.height) <= room.height())
            break;
        points -= 0.25;
        font.setPointSizeF(points);
        scale = DialogUnitScale(font);
    }
    dialog.setFont(font);
    dialog.setWindowTitle(Utf8(template_.caption));
    dialog.setWindowIcon(ProgramIcon());
    dialog.setFixedSize(scale.X(template_.width), scale.Y(template_.height));
    int itemHeight = std::max(1, QFontMetrics(font).height());

    std::vector<QWidget*> widgets;
    widgets.reserve(template_.controls.size());
    int index = 0;
    for (const DialogControlTemplate& control : template_.controls) {
        QWidget* widget = MakeWidget(control, &dialog, makeCombo);
        widget->setObjectName(ObjectName(control.id, index));
        if (!control.Has(ControlStyle::TabStop)) widget->setFocusPolicy(Qt::NoFocus);
        QRect area = scale.Rect(control.x, control.y, control.width, control.height);
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            // A combo box's template height includes its dropped list: the field keeps its
            // natural height and the rest tells how many items the list shows at once.
            int fieldHeight = combo->sizeHint().height();
            combo->setMaxVisibleItems(std::max(1, (area.height() - fieldHeight) / itemHeight));
            area.setHeight(fieldHeight);
        }
        widget->setGeometry(area);
        WidenToTexts(*widget);
        widget->setVisible(!control.Has(ControlStyle::Hidden));
        widgets.push_back(widget);
        ++index;
    }
    // A group box is only a frame: it must not cover the controls inside it, which it would,
    // created after them, on top of them.
    for (QWidget* widget : widgets) {
        if (qobject_cast<QGroupBox*>(widget)) widget->lower();
    }
    return widgets;
}

}  // namespace varnok
