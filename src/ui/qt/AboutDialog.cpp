#include "ui/qt/AboutDialog.h"

#include <QPushButton>

#include "ui/AboutTemplate.h"
#include "ui/qt/DialogTemplateBuilder.h"

namespace varnok {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    for (QWidget* widget : DialogTemplateBuilder(AboutTemplate()).Build(*this)) {
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            connect(button, &QPushButton::clicked, this, &QDialog::accept);
        }
    }
}

}  // namespace varnok
