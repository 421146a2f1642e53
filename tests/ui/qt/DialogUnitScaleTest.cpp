#include <gtest/gtest.h>

#include <QFontMetrics>

#include "ui/qt/DialogUnitScale.h"

namespace varnok {
namespace {

// Dialog units convert with Windows' rounding (half away from zero), edge by edge.
TEST(DialogUnitScale, ConvertsAsWindowsDoes) {
    struct Case {
        int baseWidth, baseHeight;
        int x, y, width, height;
        QRect pixels;
    };
    const Case cases[] = {
        // 7 by 14: DejaVu Sans at 9 points and 96 dpi. 1 unit = 1.75 px across, 1.75 px down.
        {7, 14, 0, 0, 263, 310, QRect(0, 0, 460, 543)},      // 460.25 and 542.5 round apart
        {7, 14, 1, 1, 1, 1, QRect(2, 2, 2, 2)},              // 1.75 → 2, 3.5 → 4
        {7, 14, 108, 286, 50, 17, QRect(189, 501, 88, 29)},  // Save: 276.5 → 277, 530.25 → 530
        // 6 by 13: 1.5 px across, 1.625 px down.
        {6, 13, 1, 1, 1, 1, QRect(2, 2, 1, 1)},  // 1.5 → 2, 3 → 3; 1.625 → 2, 3.25 → 3
        {6, 13, 3, 4, 2, 4, QRect(5, 7, 3, 6)},  // 4.5 → 5, 7.5 → 8; 6.5 → 7, 13
        // Neighbours stay neighbours: the right edge of one is the left edge of the next.
        {6, 13, 7, 0, 1, 0, QRect(11, 0, 1, 0)},  // 10.5 → 11, 12
        {6, 13, 8, 0, 1, 0, QRect(12, 0, 2, 0)},  // 12, 13.5 → 14
        // Negative positions round away from zero too.
        {6, 13, -1, -3, 1, 3, QRect(-2, -5, 2, 5)},
    };
    for (const Case& c : cases) {
        DialogUnitScale scale(c.baseWidth, c.baseHeight);
        EXPECT_EQ(scale.Rect(c.x, c.y, c.width, c.height), c.pixels)
            << c.baseWidth << "x" << c.baseHeight << " at " << c.x << "," << c.y;
    }
}

// The base units come from the font: the rounded average width of the 52 Latin letters and
// the character height.
TEST(DialogUnitScale, TakesItsBaseUnitsFromTheFont) {
    for (int points : {8, 9, 12, 20}) {
        QFont font(QStringLiteral("DejaVu Sans"), points);
        QFontMetrics metrics(font);
        int letters = metrics.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        DialogUnitScale scale(font);
        EXPECT_EQ(scale.BaseWidth(), (letters / 26 + 1) / 2) << points;
        EXPECT_EQ(scale.BaseHeight(), metrics.height()) << points;
        EXPECT_EQ(scale.X(4), scale.BaseWidth());
        EXPECT_EQ(scale.Y(8), scale.BaseHeight());
    }
    EXPECT_LT(DialogUnitScale(QFont(QStringLiteral("DejaVu Sans"), 9)).X(263),
              DialogUnitScale(QFont(QStringLiteral("DejaVu Sans"), 20)).X(263));
}

}  // namespace
}  // namespace varnok
