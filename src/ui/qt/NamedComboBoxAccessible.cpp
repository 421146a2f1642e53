#include "ui/qt/NamedComboBoxAccessible.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

namespace varnok {

NamedComboBoxAccessible::NamedComboBoxAccessible(QComboBox* combo)
    : QAccessibleWidget(combo, QAccessible::ComboBox) {}

QAccessibleInterface* NamedComboBoxAccessible::Factory(const QString&, QObject* object) {
    auto* combo = qobject_cast<QComboBox*>(object);
    return combo != nullptr ? new NamedComboBoxAccessible(combo) : nullptr;
}

QComboBox* NamedComboBoxAccessible::Combo() const {
    return static_cast<QComboBox*>(widget());
}

QString NamedComboBoxAccessible::text(QAccessible::Text kind) const {
    const QString value = Combo()->currentText();
    switch (kind) {
        case QAccessible::Name:
            return Combo()->accessibleName().isEmpty() ? value : Combo()->accessibleName();
        case QAccessible::Value:
            return value;
        default:
            return QAccessibleWidget::text(kind);
    }
}

QAccessible::State NamedComboBoxAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    state.expanded = Combo()->view()->isVisible();
    state.editable = Combo()->isEditable();
    state.readOnly = !Combo()->isEditable();
    return state;
}

// The list first, then the edit field of an editable box, as Qt's own combo box has them.
int NamedComboBoxAccessible::childCount() const {
    return Combo()->lineEdit() != nullptr ? 2 : 1;
}

QAccessibleInterface* NamedComboBoxAccessible::child(int index) const {
    if (index == 0) return QAccessible::queryAccessibleInterface(Combo()->view());
    if (index == 1 && Combo()->lineEdit() != nullptr) {
        return QAccessible::queryAccessibleInterface(Combo()->lineEdit());
    }
    return nullptr;
}

int NamedComboBoxAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (child == nullptr) return -1;
    if (child->object() == Combo()->view()) return 0;
    if (Combo()->lineEdit() != nullptr && child->object() == Combo()->lineEdit()) return 1;
    return -1;
}

// Focusing keeps its place among the actions: a screen reader moves the focus with it.
QStringList NamedComboBoxAccessible::actionNames() const {
    return {showMenuAction(), pressAction(), setFocusAction()};
}

void NamedComboBoxAccessible::doAction(const QString& action) {
    if (action == setFocusAction()) {
        QAccessibleWidget::doAction(action);
        return;
    }
    if (action != showMenuAction() && action != pressAction()) return;
    if (Combo()->view()->isVisible()) {
        Combo()->hidePopup();
    } else {
        Combo()->showPopup();
    }
}

}  // namespace varnok
