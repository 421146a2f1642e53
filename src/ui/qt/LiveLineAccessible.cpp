#include "ui/qt/LiveLineAccessible.h"

#include <QLabel>
#include <QVariant>

namespace varnok {
namespace {

constexpr char kRoleProperty[] = "varnokAccessibleRole";

}  // namespace

LiveLineAccessible::LiveLineAccessible(QLabel* label, QAccessible::Role role)
    : QAccessibleWidget(label, role) {}

void LiveLineAccessible::MarkLabel(QLabel& label, QAccessible::Role role) {
    label.setProperty(kRoleProperty, static_cast<int>(role));
}

QAccessibleInterface* LiveLineAccessible::Factory(const QString&, QObject* object) {
    auto* label = qobject_cast<QLabel*>(object);
    if (label == nullptr) return nullptr;
    const QVariant role = label->property(kRoleProperty);
    return role.isValid()
               ? new LiveLineAccessible(label, static_cast<QAccessible::Role>(role.toInt()))
               : nullptr;
}

QString LiveLineAccessible::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Name) return static_cast<QLabel*>(widget())->text();
    return QAccessibleWidget::text(kind);
}

}  // namespace varnok
