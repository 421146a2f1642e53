#pragma once

#include <QObject>
#include <QRect>
#include <vector>

#include "ui/DialogTemplate.h"

class QDialog;
class QLabel;
class QScrollArea;
class QWidget;

namespace varnok {

// Keeps a dialog built from a template inside its screen's work area without cutting a text:
// a label that wraps (the key window's prompt) grows to its text and moves what lies below
// it, and where the dialog is then taller than the work area, the template's band of rows
// scrolls inside a scroll area capped to fit. Above and below the band, the buttons and the
// status line keep their places and sizes.
class ScrollingRows : public QObject {
public:
    // widgets are the dialog's controls in template order, as the builder made them; the
    // band's controls move into the scroll area, keeping the template's tab order.
    ScrollingRows(QDialog& dialog, const DialogTemplate& dialogTemplate,
                  const std::vector<QWidget*>& widgets, QLabel* growing);

    // Places everything for the growing label's text and the screen's work area as they are
    // now; called again when either changes.
    void Fit();

    // The scroll area, its viewport and the band's background: the dialog's background, as
    // the labels are.
    bool IsBackground(const QWidget* widget) const;

private:
    struct Placed {
        QWidget* widget;
        QRect base;  // where the builder put it, without growth or scrolling
    };

    void OnFocusChanged(QWidget* now);

    QDialog& dialog_;
    QScrollArea* area_;
    QWidget* band_;
    QLabel* growing_;
    int growingBaseHeight_;
    int bandTop_;
    int bandHeight_;
    int baseWidth_;
    int baseHeight_;
    // The band never shrinks below one row: a screen smaller than that leaves the window
    // running off it.
    int smallestBand_;
    std::vector<Placed> above_;
    std::vector<Placed> below_;
};

}  // namespace varnok
