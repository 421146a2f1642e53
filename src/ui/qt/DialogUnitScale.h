#pragma once

#include <QFont>
#include <QRect>

namespace varnok {

// Dialog units to pixels, as Windows converts them: a horizontal unit is a quarter of the
// dialog font's average character width, a vertical unit an eighth of its character height.
// A window laid out in dialog units therefore grows with its font and the screen's DPI.
class DialogUnitScale {
public:
    // Windows' base units of the font: the average width of the 52 Latin letters, rounded,
    // and the font's height (ascent plus descent).
    explicit DialogUnitScale(const QFont& font);
    DialogUnitScale(int baseWidth, int baseHeight);

    int BaseWidth() const { return baseWidth_; }
    int BaseHeight() const { return baseHeight_; }

    int X(int dialogUnits) const;
    int Y(int dialogUnits) const;
    // Edges convert one by one, so adjacent rectangles stay adjacent in pixels.
    QRect Rect(int x, int y, int width, int height) const;

private:
    int baseWidth_;
    int baseHeight_;
};

}  // namespace varnok
