#pragma once

#include <QDialog>
#include <cstdint>

namespace varnok {

// The About box: built from its template, no behaviour beyond a standard dialog's. OK, Escape
// and the close box end it.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    // In Chinese for a language flag other than 0.
    explicit AboutDialog(std::int32_t language = 0, QWidget* parent = nullptr);
};

}  // namespace varnok
