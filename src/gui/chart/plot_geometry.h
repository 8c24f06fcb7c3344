#pragma once

#include "gui/chart/axis.h"

#include <QFont>
#include <QRectF>

namespace faultscope {

// What a series or a tool needs of the chart it is drawn on: the plot rectangle in the
// painter's coordinates and the two axes that map values onto it. As the raster engine draws
// aliased lines, pixel column c covers the coordinates [c, c + 1) and row r covers [r, r + 1);
// the axis ends fall on the first and the last column or row of the plot.
struct PlotGeometry {
    QRectF plot;
    const Axis* x = nullptr;
    const Axis* y = nullptr;
    double fontDpi = 96.0;  // resolution that the chart's point-sized fonts are meant for

    [[nodiscard]] double FirstColumn() const noexcept { return plot.left(); }
    [[nodiscard]] double LastColumn() const noexcept { return plot.left() + plot.width() - 1.0; }
    [[nodiscard]] double FirstRow() const noexcept { return plot.top(); }
    [[nodiscard]] double LastRow() const noexcept { return plot.top() + plot.height() - 1.0; }

    [[nodiscard]] double XToPixel(double value) const noexcept {
        return x->ValueToPixel(value, FirstColumn(), LastColumn());
    }
    [[nodiscard]] double PixelToX(double pixel) const noexcept {
        return x->PixelToValue(pixel, FirstColumn(), LastColumn());
    }
    [[nodiscard]] double YToPixel(double value) const noexcept {
        return y->ValueToPixel(value, LastRow(), FirstRow());
    }
    [[nodiscard]] double PixelToY(double pixel) const noexcept {
        return y->PixelToValue(pixel, LastRow(), FirstRow());
    }
    [[nodiscard]] AxisMapping XMapping() const noexcept {
        return x->Mapping(FirstColumn(), LastColumn());
    }
    [[nodiscard]] AxisMapping YMapping() const noexcept {
        return y->Mapping(LastRow(), FirstRow());
    }

    // The font sized in pixels of the painting coordinates, so that text keeps its size on
    // devices of another resolution (printer pages, images).
    [[nodiscard]] QFont PixelFont(QFont font) const {
        if (font.pixelSize() <= 0) {
            font.setPixelSize(qMax(1, qRound(font.pointSizeF() * fontDpi / 72.0)));
        }
        return font;
    }
};

}  // namespace faultscope
