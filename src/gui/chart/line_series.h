#pragma once

#include "gui/chart/envelope_pyramid.h"
#include "gui/chart/series.h"

#include <QPointF>
#include <QRect>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace faultscope {

// A line through (x[i], y[i]) over columns owned elsewhere. A gap sample is not drawn and the
// line breaks there. Where the visible samples outnumber the plot's pixel columns, each column
// gets one vertical stroke from the lowest to the highest point the full line would reach in
// it, read from an envelope pyramid, so a repaint costs about the same for any record length.
class LineSeries : public Series {
    Q_OBJECT

  public:
    explicit LineSeries(QObject* parent = nullptr);
    ~LineSeries() override;

    // The columns must outlive the series, or be handed again after they change. x ascends;
    // `gaps` is empty (no gaps) or as long as y. Throws std::invalid_argument on other lengths.
    void SetData(std::span<const double> x, std::span<const double> y,
                 std::span<const std::uint8_t> gaps = {});
    // The same over a column of values in any stored form (its gaps included).
    void SetData(std::span<const double> x, const SampleColumn& y);
    void Clear();
    [[nodiscard]] std::size_t size() const noexcept { return x_.size(); }
    [[nodiscard]] std::span<const double> X() const noexcept { return x_; }
    [[nodiscard]] const SampleColumn& Y() const noexcept { return y_; }

    // Lowest and highest drawable value of the whole series.
    [[nodiscard]] ValueExtent Extent() const;

    void Draw(QPainter& painter, const PlotGeometry& geometry) override;

  private:
    [[nodiscard]] const EnvelopePyramid& Pyramid() const;
    [[nodiscard]] std::pair<std::size_t, std::size_t> VisibleRange(
        const PlotGeometry& geometry) const;
    [[nodiscard]] bool IsDrawable(std::size_t i) const noexcept { return y_.IsDrawable(i); }
    // Index of the first sample at or right of x, searching from index `from` on.
    [[nodiscard]] std::size_t FirstIndexFrom(double x, std::size_t from = 0) const noexcept;
    // The same, looking first at index `guess` (at or after `from`): when the guess is close, a
    // few neighbouring samples are read instead of a search across the column.
    [[nodiscard]] std::size_t FirstIndexNear(double x, std::size_t from,
                                             std::size_t guess) const noexcept;
    void DrawPolyline(QPainter& painter, const PlotGeometry& geometry, std::size_t first,
                      std::size_t last) const;
    void DrawEnvelope(QPainter& painter, const PlotGeometry& geometry) const;
    [[nodiscard]] std::vector<QRect> EnvelopeStrokes(const PlotGeometry& geometry) const;
    // Keeps far-off points within the range the raster engine handles exactly.
    static double ClampPixel(double pixel) noexcept {
        constexpr double kFar = 4.0e6;
        return std::clamp(pixel, -kFar, kFar);
    }
    [[nodiscard]] QPointF PixelOf(const AxisMapping& toColumn, const AxisMapping& toRow,
                                  std::size_t i) const noexcept {
        return {ClampPixel(toColumn(x_[i])), ClampPixel(toRow(y_[i]))};
    }

    std::span<const double> x_;
    SampleColumn y_;
    // Built when first needed, shared with every other view of the same column.
    mutable std::shared_ptr<const EnvelopePyramid> pyramid_;
    // Everything the strokes of an envelope follow from besides the columns.
    struct EnvelopeView {
        double left, top, width, height;
        double xMin, xMax, yMin, yMax;
        int xMinOffset, xMaxOffset, yMinOffset, yMaxOffset;
        bool operator==(const EnvelopeView&) const = default;
    };
    static EnvelopeView ViewOf(const PlotGeometry& geometry) noexcept;
    // The strokes of the last envelope and the view they were drawn for: painting the same view
    // again (the cursor moved, a window was uncovered) reads no samples. Reset with the columns.
    mutable std::optional<EnvelopeView> strokesView_;
    mutable std::vector<QRect> strokes_;
};

}  // namespace faultscope
