#pragma once

#include "core/record/sample_column.h"
#include "gui/chart/series.h"

#include <span>

namespace faultscope {

// A stepped area over columns owned elsewhere: from each x to the next the level of the first
// holds, and everything below it down to the plot's bottom is filled. The fill is clipped to
// the plot, so a level far below the visible range shows as nothing.
class AreaSeries : public Series {
    Q_OBJECT

  public:
    explicit AreaSeries(QObject* parent = nullptr);

    // The columns must outlive the series, or be handed again after they change. x ascends.
    // Throws std::invalid_argument when the lengths differ.
    void SetData(std::span<const double> x, std::span<const double> level);
    // The same with the levels read through a column view (scaled states, say).
    void SetData(std::span<const double> x, const SampleColumn& level);
    void Clear();
    [[nodiscard]] std::size_t size() const noexcept { return x_.size(); }

    void Draw(QPainter& painter, const PlotGeometry& geometry) override;

  private:
    std::span<const double> x_;
    SampleColumn level_;
};

}  // namespace faultscope
