#pragma once

#include <QAccessibleWidget>

class QComboBox;

namespace varnok {

// A combo box as screen readers see it. Qt on Linux names a combo box by its current text and
// leaves its name to a label's relation, so the window's six function lists were all "Normal"
// and the language list "English"; most of these lists have no label beside them. Here a combo
// box with an accessible name is named by it, its current text is its value, and it keeps what
// a combo box offers a screen reader: its list and edit field as children, and opening the list.
class NamedComboBoxAccessible : public QAccessibleWidget {
public:
    explicit NamedComboBoxAccessible(QComboBox* combo);

    // For QAccessible::installFactory: this interface for every combo box, none for the rest.
    static QAccessibleInterface* Factory(const QString& className, QObject* object);

    QString text(QAccessible::Text kind) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QStringList actionNames() const override;
    void doAction(const QString& action) override;

private:
    QComboBox* Combo() const;
};

}  // namespace varnok
