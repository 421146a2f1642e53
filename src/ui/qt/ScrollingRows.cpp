#include "ui/qt/ScrollingRows.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "ui/qt/DialogTemplateBuilder.h"
#include "ui/qt/DialogUnitScale.h"

namespace varnok {

namespace {

// The height of one row in dialog units: the pitch of the key window's rows.
constexpr int kRowHeight = 24;

}  // namespace

ScrollingRows::ScrollingRows(QDialog& dialog, const DialogTemplate& dialogTemplate,
                             const std::vector<QWidget*>& widgets, QLabel* growing)
    : QObject(&dialog),
      dialog_(dialog),
      area_(new QScrollArea(&dialog)),
      band_(new QWidget),
      growing_(growing),
      growingBaseHeight_(growing != nullptr ? growing->height() : 0) {
    const DialogUnitScale scale(dialog.font());
    bandTop_ = scale.Y(dialogTemplate.scrollTop);
    bandHeight_ = scale.Y(dialogTemplate.scrollBottom) - bandTop_;
    baseWidth_ = dialog.width();
    baseHeight_ = dialog.height();
    smallestBand_ = std::min(bandHeight_, scale.Y(kRowHeight));

    // The area is no stop of its own on the way through the controls, and shows the
    // dialog's background.
    area_->setFocusPolicy(Qt::NoFocus);
    area_->setFrameStyle(QFrame::NoFrame);
    area_->setLineWidth(0);
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area_->setObjectName(QStringLiteral("rows"));
    band_->resize(dialog.width(), std::max(0, bandHeight_));
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        QWidget* widget = widgets[i];
        const int y = scale.Y(dialogTemplate.controls[i].y);
        if (y < bandTop_) {
            if (widget != growing_) above_.push_back({widget, widget->geometry()});
        } else if (y >= bandTop_ + bandHeight_) {
            below_.push_back({widget, widget->geometry()});
        } else {
            // A new parent hides a widget; a control the template hides stays hidden.
            const bool hidden = widget->isHidden();
            widget->setParent(band_);
            widget->move(widget->x(), widget->y() - bandTop_);
            widget->setVisible(!hidden);
        }
    }
    area_->setWidget(band_);
    // Screen readers walk the window's children in order: the rows come where the template
    // puts them, before what lies below them.
    if (!below_.empty()) area_->stackUnder(below_.front().widget);
    // Qt lays the viewport out when the window first shows; until then it would sit inside the
    // frame the area no longer has, and the rows would be a pixel off their places.
    area_->viewport()->move(0, 0);
    // A new parent puts a widget last in Qt's focus chain; the template's order of tab stops
    // stays, and its first (in the band) still takes the focus when the window opens.
    QWidget* first = nullptr;
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if ((widget->focusPolicy() & Qt::TabFocus) == 0) continue;
        if (previous != nullptr) QWidget::setTabOrder(previous, widget);
        if (first == nullptr) first = widget;
        previous = widget;
    }
    if (first != nullptr) first->setFocus();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
    Fit();
}

void ScrollingRows::Fit() {
    int grown = 0;
    if (growing_ != nullptr) {
        grown = std::max(0, growing_->heightForWidth(growing_->width()) - growingBaseHeight_);
        growing_->resize(growing_->width(), growingBaseHeight_ + grown);
    }
    for (const Placed& placed : above_)
        placed.widget->move(placed.base.topLeft() + QPoint(0, grown));

    const int wanted = baseHeight_ + grown;
    const QSize room = DialogTemplateBuilder::Room(dialog_);
    const int cut = room.isValid() ? std::clamp(wanted - room.height(), 0,
                                                std::max(0, bandHeight_ - smallestBand_))
                                   : 0;
    // A scrolling band's bar takes its own width beside the function lists, not theirs.
    const int bar = cut > 0 ? area_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    const int width = baseWidth_ + bar;
    area_->setGeometry(0, bandTop_ + grown, width, bandHeight_ - cut);
    for (const Placed& placed : below_) {
        placed.widget->move(placed.base.topLeft() + QPoint(0, grown - cut));
    }
    dialog_.setFixedSize(width, wanted - cut);
}

bool ScrollingRows::IsBackground(const QWidget* widget) const {
    return widget == area_ || widget == area_->viewport() || widget == band_;
}

void ScrollingRows::OnFocusChanged(QWidget* now) {
    // The window moves the focus itself (Tab, a click, a recording that ends), so the area
    // follows it to a row out of view. The whole control comes into view: Qt's own
    // ensureWidgetVisible would settle for an edit field's text cursor.
    for (QWidget* w = now; w != nullptr; w = w->parentWidget()) {
        if (w->parentWidget() != band_) continue;
        QScrollBar* bar = area_->verticalScrollBar();
        const int shown = area_->viewport()->height();
        if (w->y() < bar->value()) {
            bar->setValue(w->y());
        } else if (w->y() + w->height() > bar->value() + shown) {
            bar->setValue(w->y() + w->height() - shown);
        }
        return;
    }
}

}  // namespace varnok
