#pragma once

#include "gui/chart/series.h"

#include <QColor>
#include <QPointF>
#include <QString>
#include <vector>

namespace faultscope {

// Arrows between points of the value plane, each with a colour and a label of its own. The
// chart draws the arrows; where a label goes is left to the chart's owner (see Arrows()).
class ArrowSeries : public Series {
    Q_OBJECT

  public:
    struct Arrow {
        QPointF from;
        QPointF to;
        QColor color;
        QString label;
    };

    explicit ArrowSeries(QObject* parent = nullptr);

    void Clear();
    void Add(const QPointF& from, const QPointF& to, const QColor& color,
             const QString& label = {});
    [[nodiscard]] const std::vector<Arrow>& Arrows() const noexcept { return arrows_; }

    // The head's width across the shaft and its length along it, in pixels.
    void SetHeadSize(int width, int length);
    // 0 draws opaque, 100 invisible.
    void SetTransparency(int percent);

    // Changes between the two calls repaint the chart once, at EndUpdate.
    void BeginUpdate() noexcept { ++held_; }
    void EndUpdate();

    void Draw(QPainter& painter, const PlotGeometry& geometry) override;

  private:
    void Changed();

    std::vector<Arrow> arrows_;
    int headWidth_ = 6;
    int headLength_ = 12;
    int transparency_ = 0;
    int held_ = 0;
    bool pending_ = false;
};

}  // namespace faultscope
