#include "ui/qt/DialogUnitScale.h"

#include <QFontMetrics>
#include <QString>
#include <cstdint>

namespace varnok {

namespace {

// value * numerator / denominator rounded half away from zero, as Windows' MulDiv.
int MulDiv(int value, int numerator, int denominator) {
    std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    std::int64_t half = denominator / 2;
    std::int64_t rounded =
        product >= 0 ? (product + half) / denominator : (product - half) / denominator;
    return static_cast<int>(rounded);
}

}  // namespace

DialogUnitScale::DialogUnitScale(const QFont& font) {
    QFontMetrics metrics(font);
    int alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseWidth_ = (alphabetWidth / 26 + 1) / 2;
    baseHeight_ = metrics.height();
}

DialogUnitScale::DialogUnitScale(int baseWidth, int baseHeight)
    : baseWidth_(baseWidth), baseHeight_(baseHeight) {}

int DialogUnitScale::X(int dialogUnits) const {
    return MulDiv(dialogUnits, baseWidth_, 4);
}
int DialogUnitScale::Y(int dialogUnits) const {
    return MulDiv(dialogUnits, baseHeight_, 8);
}

QRect DialogUnitScale::Rect(int x, int y, int width, int height) const {
    int left = X(x);
    int top = Y(y);
    return QRect(left, top, X(x + width) - left, Y(y + height) - top);
}

}  // namespace varnok
