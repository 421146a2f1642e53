#pragma once

#include <QDialog>

namespace varnok {

// The About box: built from its template, no behaviour beyond a standard dialog's. OK, Escape
// and the close box end it.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace varnok
