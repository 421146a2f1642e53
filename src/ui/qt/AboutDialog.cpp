#include "ui/qt/AboutDialog.h"

#include <QPushButton>

#include "ui/AboutTemplate.h"
#include "ui/qt/DialogTemplateBuilder.h"

namespace varnok {

AboutDialog::AboutDialog(std::int32_t language, QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    for (QWidget* widget : DialogTemplateBuilder(AboutTemplate(language)).Build(*this)) {
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            connect(button, &QPushButton::clicked, this, &QDialog::accept);
        }
    }
}

}  // namespace varnok
