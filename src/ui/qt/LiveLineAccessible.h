#pragma once

#include <QAccessible>
#include <QAccessibleWidget>

class QLabel;

namespace varnok {

// A line of the window whose text changes while the owner works elsewhere, as a screen reader
// sees it: the status line is a status bar, the line that says why an input was refused is an
// alert, so that Orca speaks them when they change. Their text is their name.
class LiveLineAccessible : public QAccessibleWidget {
public:
    LiveLineAccessible(QLabel* label, QAccessible::Role role);

    // Marks the label as such a line, by the role a screen reader is to see.
    static void MarkLabel(QLabel& label, QAccessible::Role role);
    // For QAccessible::installFactory: this interface for the labels marked, none for the rest.
    static QAccessibleInterface* Factory(const QString& className, QObject* object);

    QString text(QAccessible::Text kind) const override;
};

}  // namespace varnok
