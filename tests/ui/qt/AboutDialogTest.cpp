#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/qt/AboutDialog.h"
#include "ui/qt/DialogUnitScale.h"

namespace varnok {
namespace {

TEST(AboutDialog, ShowsTheVersionNoticeAndOkAtTheTopRight) {
    AboutDialog about;
    DialogUnitScale scale(about.font());
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Varnok"));
    EXPECT_EQ(about.size(), QSize(scale.X(235), scale.Y(55)));
    EXPECT_FALSE(about.windowIcon().isNull());

    QList<QLabel*> labels = about.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 3);
    EXPECT_FALSE(labels[0]->pixmap().isNull());
    EXPECT_EQ(labels[1]->text(), QStringLiteral("Varnok 1.5"));
    EXPECT_FALSE(labels[2]->text().isEmpty());
    // Both texts fit on their one line and the notice sits beneath the version.
    for (QLabel* text : {labels[1], labels[2]}) {
        EXPECT_LE(text->fontMetrics().horizontalAdvance(text->text()), text->width());
        EXPECT_FALSE(text->text().contains(u'\n'));
    }
    EXPECT_GT(labels[2]->y(), labels[1]->y() + labels[1]->fontMetrics().height() / 2);
    EXPECT_LT(labels[0]->x(), labels[1]->x());

    auto* ok = about.findChild<QPushButton*>(QStringLiteral("control1"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_GT(ok->x(), labels[2]->geometry().right());
    EXPECT_LT(ok->y(), about.height() / 2);
}

TEST(AboutDialog, EndsByOkEscapeOrTheCloseBox) {
    struct Case {
        const char* what;
        std::function<void(AboutDialog&)> end;
        int result;
    };
    const Case cases[] = {
        {"OK",
         [](AboutDialog& about) {
             QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("control1")),
                               Qt::LeftButton);
         },
         QDialog::Accepted},
        {"Enter", [](AboutDialog& about) { QTest::keyClick(&about, Qt::Key_Return); },
         QDialog::Accepted},
        {"Escape", [](AboutDialog& about) { QTest::keyClick(&about, Qt::Key_Escape); },
         QDialog::Rejected},
        {"close box", [](AboutDialog& about) { about.close(); }, QDialog::Rejected},
    };
    for (const Case& c : cases) {
        AboutDialog about;
        QTimer::singleShot(0, &about, [&] { c.end(about); });
        EXPECT_EQ(about.exec(), c.result) << c.what;
    }
}

}  // namespace
}  // namespace varnok
